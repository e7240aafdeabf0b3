cmake_policy(SET CMP0057 NEW)
# Installs the build into a fresh prefix and checks what a user's system gets from it.
# -DBUILD_DIR=... -DPREFIX=... -DGUI=ON|OFF
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected bin/mosaiq-cli share/doc/mosaiq/manual.html)
if(GUI)
    list(APPEND expected bin/mosaiq share/applications/mosaiq.desktop
         share/icons/hicolor/scalable/apps/mosaiq.svg)
endif()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/mosaiq-cli" -V RESULT_VARIABLE result
                OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^mosaiq-cli ")
    message(FATAL_ERROR "installed mosaiq-cli -V: ${result} ${version}")
endif()

if(GUI)
    # Menus file a program under exactly one main category.
    file(STRINGS "${PREFIX}/share/applications/mosaiq.desktop" categories REGEX "^Categories=")
    string(REGEX REPLACE "^Categories=" "" categories "${categories}")
    string(REPLACE "\\;" ";" categories "${categories}")  # file(STRINGS) escapes them
    set(main AudioVideo Audio Video Development Education Game Graphics Network Office Science
             Settings System Utility)
    set(count 0)
    foreach(category IN LISTS categories)
        if(category IN_LIST main)
            math(EXPR count "${count} + 1")
        endif()
    endforeach()
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "mosaiq.desktop has ${count} main categories: ${categories}")
    endif()
endif()
message(STATUS "install: 1 passed, 0 failed")
