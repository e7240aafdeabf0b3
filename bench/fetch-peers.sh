#!/usr/bin/env bash
# fetch-peers.sh - loopback benchmark of mosaiq-cli against curl and wget2 (README, Benchmarks).
# Project use: PEERS="curl-par wget2 mosaiq" CORPORA=small bench/fetch-peers.sh
#
# Loopback benchmark: how fast do well-known download tools
# fetch a whole "album" (a list of picture URLs) with N parallel connections?
#
# Everything stays on 127.0.0.1. The server is a private nginx (Debian package)
# started as a non-daemon child and stopped by its PID. Every loop is bounded.
#
# Usage:  fetch-peers.sh [SUBCOMMAND] [ARGS]
#   all                 (default) setup, start server, run every peer RUNS times
#                       on every corpus, verify each run, print a table, stop.
#   setup               make corpora, TLS cert, nginx config, URL lists in WORKDIR
#   start | stop        start / stop the loopback nginx (PID in WORKDIR/nginx.pid.ours)
#   fetch PEER CORPUS   one fetch into an empty folder (what a timer should wrap)
#   verify PEER CORPUS  check the last fetch: file count, every size, checksums
#   ceiling             machine limits: cat, cp, one big sequential curl, ...
#   clean               delete downloaded folders (untimed) and sync
#   peers               list peer names
#   phases CORPUS [PEER...]  traced runs of mosaiq and of PEER (default curl-par):
#                       when each page and picture request reached nginx, so
#                       mosaiq's time splits into listing, pause and download
#
# Peers: curl-par aria2c wget2 gallery-dl gallery-dl-xN wget-seq curl-seq ours
#        mosaiq (not in the default list: PEERS="curl-par wget2 aria2c mosaiq")
#
# ---- PEER "mosaiq" (the project's real end-to-end download) ------------------
#   mosaiq-cli is not a URL-list fetcher: it takes a QQ Zone account, asks the
#   route lookup, the album list and the photo list pages, then downloads the
#   pictures. setup writes, per corpus and per scheme, a QQ Zone-shaped account
#   (WORKDIR/www/qz/ACCOUNT/) whose single album lists exactly the corpus URLs of
#   that scheme (the same URLs the other peers get), and nginx answers the site
#   pages from those files, chosen by the query arguments hostUin and pageStart.
#   Accounts: 700CS (C: small 1, large 2, huge 3; S: http 1, https 2), e.g.
#   70011 = small over http. Every request of mosaiq goes to this nginx through
#   MOSAIQ_CONNECT_TO (http and https listener) and MOSAIQ_CA_FILE; the site pages
#   are https (as the real site's are), the pictures use SCHEME. Files are saved
#   as DEST/ACCOUNT/ALBUM/NAME; verify matches them by sha256 (multiset), not by
#   name. The page requests also get DELAY_MS.
#   MOSAIQ_CLI=$PWD/build/mosaiq-cli   the binary (run from the project root)
#   MAKE_SOFT_DAT=<script dir>/make_soft_dat.py   writes soft.dat
#   MOSAIQ_ENV="..."  extra VAR=value words for mosaiq's environment (diagnosis)
#   Corpus "huge" (N_HUGE=20 x HUGE_MIB=100, not in the default CORPORA) is for
#   peak memory.
#
# Knobs (environment):
#   WORKDIR=/tmp/fetch-bench   all state (corpora, lists, config, downloads)
#   N_SMALL=1000 SMALL_KIB=200 N_LARGE=40 LARGE_MIB=5 BIG_MIB=1024
#   N_HUGE=20 HUGE_MIB=100    corpus "huge"
#   WARMUP=1         untimed warm-up fetches per peer before the RUNS timed ones
#   JOBS=15          parallel connections / workers
#   RUNS=3           timed runs per peer and corpus in 'all' (median reported)
#   ORDER=interleaved   run r of every peer, then run r+1 of every peer, so drift of a
#                    shared machine hits all peers alike (ORDER=blocks: all runs of one peer,
#                    then the next peer's)
#   SCHEME=http      http | https (self-signed cert; clients are given the CA)
#   HTTP2=0          1: also offer HTTP/2 (ALPN) on the https listener
#   PORT=18080 TLS_PORT=18443   first ports tried (next free one is taken)
#   DELAY_MS=0       >0: nginx waits this long before answering each request
#                    (a stand-in for round trip + server think time; needs the
#                    Debian echo module, libnginx-mod-http-echo). Zero-delay
#                    loopback hides what parallel connections are for.
#   NGINX_WORKERS=1  nginx worker processes
#   PIN=auto         auto: with >=2 CPUs the server gets the last CPU and the
#                    client the others (SERVER_CPU / CLIENT_CPU override, taskset
#                    lists); off: no pinning. Unpinned, a 2-CPU box gives
#                    bimodal timings (server and client land on 1 or 2 CPUs).
#   CORPORA="small large"   PEERS="..." (default: all peers above)
#   DEST_ROOT=$WORKDIR/dest  where downloads land (e.g. /dev/shm/fb for tmpfs)
#   VERIFY=full      full: sha256 of every file | sample: of ~50 files
#   TIMEOUT=600      per-fetch wall bound in seconds in 'all' (coreutils timeout);
#                    FETCH_TIMEOUT= the same for a bare 'fetch' (unset: none)
#   Results: WORKDIR/results-SCHEME-dDELAY_MS-CORPORA.tsv; with mosaiq among the
#   peers also WORKDIR/ratios-SCHEME-dDELAY_MS-CORPORA.tsv (mosaiq / each peer,
#   and with DELAY_MS>0 mosaiq / floor, floor = N * DELAY_MS / JOBS).
#
# ---- HOOK FOR OUR OWN PROGRAM ------------------------------------------------
#   OURS_CMD='path/to/our-fetcher --jobs {JOBS} --out {DEST} --list {URLS}'
#   Placeholders: {URLS} URL list file (one URL a line), {DEST} empty target
#   folder (save each picture there under its URL basename), {JOBS} worker
#   count, {CACERT} PEM of the self-signed CA (https runs). The same values are
#   exported as URL_LIST, DEST_DIR, JOBS, CA_CERT. Run with PEERS including
#   "ours" (the default) and it is timed and verified like every other peer.
# -----------------------------------------------------------------------------
set -euo pipefail
export LC_ALL=C   # decimal points in EPOCHREALTIME, awk and sort

SELF=$0   # made absolute by the subcommands that re-invoke it
HERE=$(cd "$(dirname "$0")" && pwd)
WORKDIR=${WORKDIR:-/tmp/fetch-bench}
N_SMALL=${N_SMALL:-1000}
SMALL_KIB=${SMALL_KIB:-200}
N_LARGE=${N_LARGE:-40}
LARGE_MIB=${LARGE_MIB:-5}
N_HUGE=${N_HUGE:-20}
HUGE_MIB=${HUGE_MIB:-100}
BIG_MIB=${BIG_MIB:-1024}
WARMUP=${WARMUP:-1}
MOSAIQ_CLI=${MOSAIQ_CLI:-$PWD/build/mosaiq-cli}
MAKE_SOFT_DAT=${MAKE_SOFT_DAT:-$HERE/make_soft_dat.py}
MOSAIQ_ENV=${MOSAIQ_ENV:-}
JOBS=${JOBS:-15}
RUNS=${RUNS:-3}
ORDER=${ORDER:-interleaved}
SCHEME=${SCHEME:-http}
HTTP2=${HTTP2:-0}
PORT=${PORT:-18080}
TLS_PORT=${TLS_PORT:-18443}
NGINX_WORKERS=${NGINX_WORKERS:-1}
DELAY_MS=${DELAY_MS:-0}
ECHO_MOD=${ECHO_MOD:-/usr/lib/nginx/modules/ngx_http_echo_module.so}
PIN=${PIN:-auto}
SERVER_CPU=${SERVER_CPU:-}
CLIENT_CPU=${CLIENT_CPU:-}
CORPORA=${CORPORA:-small large}
ALL_PEERS="curl-par aria2c wget2 gallery-dl gallery-dl-xN wget-seq curl-seq ours"
PEERS=${PEERS:-$ALL_PEERS}
DEST_ROOT=${DEST_ROOT:-$WORKDIR/dest}
VERIFY=${VERIFY:-full}
TIMEOUT=${TIMEOUT:-600}
OURS_CMD=${OURS_CMD:-}

WWW=$WORKDIR/www
TLS=$WORKDIR/tls
CACERT=$TLS/cert.pem
STATE=$WORKDIR/state.env
PIDFILE=$WORKDIR/nginx.pid.ours

die() { echo "fetch-peers: $*" >&2; exit 1; }
log() { echo "== $*" >&2; }
need() { command -v "$1" >/dev/null 2>&1; }

corpus_count() { case $1 in small) echo "$N_SMALL";; large) echo "$N_LARGE";; huge) echo "$N_HUGE";; *) die "unknown corpus $1";; esac; }
corpus_bytes() { case $1 in small) echo $((SMALL_KIB * 1024));; large) echo $((LARGE_MIB * 1024 * 1024));;
                             huge) echo $((HUGE_MIB * 1024 * 1024));; *) die "unknown corpus $1";; esac; }

# ---------------------------------------------------------------- setup ----
gen_corpus() { # name count bytes
  local name=$1 count=$2 bytes=$3 dir=$WWW/$1 stamp
  stamp="$count x $bytes"
  if [[ -f $dir/.params && $(cat "$dir/.params") == "$stamp" ]]; then return 0; fi
  log "generating corpus '$name': $count files of $bytes random bytes"
  rm -rf "$dir"; mkdir -p "$dir"
  local width=${#count}; ((width < 4)) && width=4
  # One stream of random bytes cut into picture-sized pieces: img_0000.jpg ...
  head -c $((count * bytes)) /dev/urandom |
    split -b "$bytes" -d -a "$width" --additional-suffix=.jpg - "$dir/img_"
  (cd "$dir" && find . -maxdepth 1 -name 'img_*.jpg' -printf '%f\n' | sort | xargs sha256sum) > "$WWW/$name.sha256"
  [[ $(wc -l < "$WWW/$name.sha256") -eq $count ]] || die "corpus $name: wrong file count"
  echo "$stamp" > "$dir/.params"
}

gen_big() {
  local f=$WWW/big/big.bin want=$((BIG_MIB * 1024 * 1024))
  [[ -f $f && $(stat -c %s "$f") -eq $want ]] && return 0
  log "generating $BIG_MIB MiB single file for the ceiling test"
  mkdir -p "$WWW/big"; head -c "$want" /dev/urandom > "$f"
}

# The certificate names 127.0.0.1 (the peers' URLs) and the QQ Zone hosts that
# mosaiq asks for its pages (the URL host stays, only the address is redirected).
CERT_SAN="IP:127.0.0.1,DNS:qzone.qq.com,DNS:*.qzone.qq.com"
gen_cert() {
  [[ -f $CACERT && -f $TLS/key.pem && $(cat "$TLS/san" 2>/dev/null) == "$CERT_SAN" ]] && return 0
  need openssl || { log "openssl missing: no https variant"; return 0; }
  mkdir -p "$TLS"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -keyout "$TLS/key.pem" -out "$CACERT" -days 7 -subj /CN=127.0.0.1 \
    -addext "subjectAltName=$CERT_SAN" >/dev/null 2>&1 || die "openssl failed"
  chmod 644 "$TLS/key.pem"   # read by nginx master only; throwaway key
  echo "$CERT_SAN" > "$TLS/san"
}

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
pick_port() { # first free port from $1, at most 50 tries
  local p=$1 i
  for ((i = 0; i < 50; i++)); do port_free $((p + i)) && { echo $((p + i)); return 0; }; done
  die "no free port near $1"
}

write_lists() { # URL list (plain), curl config, and shards for gallery-dl-xN
  local scheme port name n
  for scheme in http https; do
    if [[ $scheme == http ]]; then port=$HPORT; else port=$SPORT; fi
    for name in $CORPORA; do
      local base=$WORKDIR/lists/$name-$scheme
      mkdir -p "$WORKDIR/lists"
      n=$(corpus_count "$name")
      sed "s|^[0-9a-f]*  |$scheme://127.0.0.1:$port/$name/|" "$WWW/$name.sha256" > "$base.txt"
      sed 's|.*|url = "&"|' "$base.txt" > "$base.curl"
      sed 's|.*|url = "&"\noutput = "/dev/null"|' "$base.txt" > "$base.null.curl"
      rm -rf "$base.shards"; mkdir -p "$base.shards"
      split -n "r/$JOBS" -d -a 3 "$base.txt" "$base.shards/part_"
      ls "$base.shards"/part_* > "$base.shards.list"
      [[ $(wc -l < "$base.txt") -eq $n ]] || die "list $base.txt wrong"
    done
  done
}

# ------------------------------------------------ QQ Zone account pages ----
# mosaiq finds the pictures the way it does on the real site: route lookup, the
# newer album list (pages of 48 from "pageStart" 0) and the newer photo list
# (pages of 400 from "pageStart" 0). One account per corpus and scheme; its
# single album lists the corpus URLs of that scheme, in list order.
QZ_PHOTO_PAGE=400
qz_account() { # CORPUS SCHEME -> account number 700CS
  local c s
  case $1 in small) c=1;; large) c=2;; huge) c=3;; *) die "unknown corpus $1";; esac
  case $2 in http) s=1;; https) s=2;; *) die "unknown scheme $2";; esac
  echo "700$c$s"
}

write_qzone_pages() {
  local qz=$WWW/qz scheme name acct list dir n
  rm -rf "$qz"; mkdir -p "$qz"
  # The route: list host "sznewp..." (the program makes it "alist..."), photo host
  # "sz.photo.qq.com" (made "sz.photo.qzone.qq.com"); both only appear in paths.
  printf '%s' '_Callback({"idcno":"3","default":"sz","sz":{"nu":"nu.photo.example","p":"sznewp.photo.qq.com","s":"sz.photo.qq.com"}});' > "$qz/route.js"
  for scheme in http https; do
    for name in $CORPORA; do
      acct=$(qz_account "$name" "$scheme"); dir=$qz/$acct; list=$WORKDIR/lists/$name-$scheme.txt
      mkdir -p "$dir"
      n=$(wc -l < "$list")
      printf 'shine5_Callback({"code":0,"subcode":0,"message":"","default":0,"data":{"albumListModeSort" : [%s],"albumsInUser" : 1,"totalInAlbumList" : 1}});' \
        "$(printf '{"allowAccess" : 1,"createtime" : 1500000000,"desc" : "","handset" : 0,"id" : "bench_%s_%s","lastuploadtime" : 1500000001,"name" : "bench-%s-%s","order" : 0,"pre" : "","priv" : 1,"pypriv" : 3,"total" : %d,"viewtype" : 0}' \
            "$name" "$scheme" "$name" "$scheme" "$n")" > "$dir/albums-0.js"
      # The next album page holds no album: the listing stops there, as on the site.
      printf '%s' 'shine5_Callback({"code":0,"subcode":0,"message":"","default":0,"data":{"albumListModeSort" : [],"albumsInUser" : 1,"totalInAlbumList" : 1}});' > "$dir/albums-48.js"
      # Photo pages: name = the URL basename, "raw" = the URL with escaped slashes.
      awk -v dir="$dir" -v per="$QZ_PHOTO_PAGE" '
        BEGIN { start = 0; cnt = 0 }
        function flush(   f) {
          if (cnt == 0) return
          f = dir "/photos-" start ".js"
          printf "shine0_Callback({\"code\":0,\"subcode\":0,\"message\":\"\",\"default\":0,\"data\":{\"limit\":0,\"photoList\" : [%s],\"totalInPage\" : %d}});", body, cnt > f
          close(f); body = ""; start += cnt; cnt = 0
        }
        { base = $0; sub(/.*\//, "", base); esc = $0; gsub(/\//, "\\/", esc)
          item = sprintf("{\"batchId\" : \"%d\",\"desc\" : \"\",\"height\" : 8,\"lloc\" : \"lloc%d\",\"name\" : \"%s\",\"raw_upload\" : 0,\"raw\" : \"%s\",\"width\" : 8}", 1000 + NR, NR - 1, base, esc)
          body = (cnt ? body "," : "") item; cnt++
          if (cnt == per) flush() }
        END { flush() }' "$list"
      [[ $(cat "$dir"/photos-*.js | grep -o '"raw" : "' | wc -l) -eq $n ]] || die "qzone pages for $name-$scheme: wrong photo count"
    done
  done
}

# Page locations for nginx (both listeners). The file is chosen by hostUin and
# pageStart (digits only, see the maps); a page that was not written is a 404,
# which the trace log shows. Page requests are always logged to logs/qz.log.
qz_locations() {
  local delay=$1 name re file
  while read -r name re file; do
    local serve="default_type application/x-javascript; access_log $WORKDIR/nginx/logs/qz.log qz; try_files $file =404;"
    if [[ -n $delay ]]; then
      printf '  location ~ %s { access_log %s qz; echo_sleep %s; echo_exec @%s; }\n  location @%s { %s }\n' \
        "$re" "$WORKDIR/nginx/logs/qz.log" "$delay" "$name" "$name" "$serve"
    else
      printf '  location ~ %s { %s }\n' "$re" "$serve"
    fi
  done <<'LOCS'
qz_route  ^/proxy/domain/[^/]+/GetRoute$                  /qz/route.js
qz_albums ^/proxy/domain/[^/]+/fcgi-bin/fcg_list_album_v3$ /qz/$qz_acct/albums-$qz_page.js
qz_photos ^/proxy/domain/[^/]+/fcgi-bin/cgi_list_photo$    /qz/$qz_acct/photos-$qz_page.js
LOCS
}

mosaiq_data() { # data folder with soft.dat: JOBS threads, no option bits
  local d=$WORKDIR/mosaiq
  [[ -x $MOSAIQ_CLI ]] || { log "no mosaiq-cli at $MOSAIQ_CLI (set MOSAIQ_CLI): peer mosaiq off"; return 0; }
  if ! need python3 || [[ ! -f $MAKE_SOFT_DAT ]]; then log "python3 or $MAKE_SOFT_DAT missing: peer mosaiq off"; return 0; fi
  mkdir -p "$d/data" "$d/xdg"
  python3 "$MAKE_SOFT_DAT" write "$d/data/soft.dat" --set "0.threadCount=$JOBS" --set 0.options=0x0000 ||
    die "make_soft_dat failed"
}

write_nginx_conf() {
  mkdir -p "$WORKDIR/nginx/tmp" "$WORKDIR/nginx/logs"
  local h2="" tls="" load="" loc="" delay="" trace="access_log off;"
  [[ $HTTP2 == 1 ]] && h2=" http2"
  if ((DELAY_MS > 0)); then
    [[ -f $ECHO_MOD ]] || die "DELAY_MS needs $ECHO_MOD (apt-get install libnginx-mod-http-echo)"
    load="load_module $ECHO_MOD;"
    delay=$(awk -v d="$DELAY_MS" 'BEGIN{printf "%.3f", d/1000}')
    loc="location / { echo_sleep $delay; echo_exec @file; } location @file { }"
  fi
  # QZ_TRACE=1 (set by 'phases'): log every request with its time to logs/qz.log.
  [[ ${QZ_TRACE:-0} == 1 ]] && trace="access_log $WORKDIR/nginx/logs/qz.log qz;"
  loc="$trace $loc
$(qz_locations "$delay")"
  if [[ -f $CACERT ]]; then
    tls="server { listen 127.0.0.1:$SPORT ssl$h2; root $WWW; $loc
      ssl_certificate $CACERT; ssl_certificate_key $TLS/key.pem;
      ssl_protocols TLSv1.2 TLSv1.3; ssl_session_cache shared:S:1m; }"
  fi
  local user=""; [[ $(id -u) == 0 ]] && user="user nobody nogroup;"
  cat > "$WORKDIR/nginx/nginx.conf" <<EOF
# private loopback-only nginx for fetch-peers.sh
$load
$user
daemon off;
master_process on;
worker_processes $NGINX_WORKERS;
pid $WORKDIR/nginx/nginx.pid;
error_log $WORKDIR/nginx/logs/error.log warn;
events { worker_connections 1024; }
http {
  types { image/jpeg jpg; application/octet-stream bin; }
  default_type application/octet-stream;
  access_log off;
  log_format qz '\$msec \$request_time \$status \$body_bytes_sent \$connection \$scheme \$request_uri';
  map \$arg_hostUin \$qz_acct { "~^[0-9]+\$" \$arg_hostUin; default none; }
  map \$arg_pageStart \$qz_page { "~^[0-9]+\$" \$arg_pageStart; default none; }
  sendfile on; tcp_nopush on; tcp_nodelay on;
  keepalive_timeout 60s; keepalive_requests 100000;
  open_file_cache max=10000 inactive=60s;
  client_body_temp_path $WORKDIR/nginx/tmp/body;
  proxy_temp_path $WORKDIR/nginx/tmp/proxy;
  fastcgi_temp_path $WORKDIR/nginx/tmp/fastcgi;
  uwsgi_temp_path $WORKDIR/nginx/tmp/uwsgi;
  scgi_temp_path $WORKDIR/nginx/tmp/scgi;
  server { listen 127.0.0.1:$HPORT; root $WWW; $loc }
  $tls
}
EOF
}

# The server and the peers are Debian packages; install the missing ones (INSTALL=0: don't).
ensure_packages() {
  [[ ${INSTALL:-1} == 1 ]] || return 0
  local want=(nginx curl coreutils openssl python3) missing=() p status
  ((DELAY_MS > 0)) && want+=(libnginx-mod-http-echo)
  [[ " $PEERS " == *" wget2 "* ]] && want+=(wget2)
  for p in "${want[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  log "installing ${missing[*]}"
  local sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

cmd_setup() {
  ensure_packages
  for t in nginx curl split sha256sum; do need $t || die "$t not found (apt-get install nginx curl coreutils)"; done
  mkdir -p "$WORKDIR" "$DEST_ROOT"
  chmod 755 "$WORKDIR"
  local name
  for name in $CORPORA; do gen_corpus "$name" "$(corpus_count "$name")" "$(corpus_bytes "$name")"; done
  gen_cert
  chmod -R a+rX "$WORKDIR/www" "$TLS" 2>/dev/null || true
  # Keep ports of a running server; otherwise pick free ones.
  if server_running && [[ -f $STATE ]]; then
    # shellcheck disable=SC1090
    . "$STATE"
  else
    HPORT=$(pick_port "$PORT"); SPORT=$(pick_port "$TLS_PORT")
  fi
  printf 'HPORT=%s\nSPORT=%s\n' "$HPORT" "$SPORT" > "$STATE"
  write_lists
  write_qzone_pages
  mosaiq_data
  write_nginx_conf
  nginx -t -p "$WORKDIR/nginx" -c "$WORKDIR/nginx/nginx.conf" -e "$WORKDIR/nginx/logs/error.log" >/dev/null 2>&1 ||
    { nginx -t -p "$WORKDIR/nginx" -c "$WORKDIR/nginx/nginx.conf" -e "$WORKDIR/nginx/logs/error.log"; die "bad nginx config"; }
  log "setup done in $WORKDIR (http :$HPORT, https :$SPORT)"
}

pin_defaults() { # fills SERVER_CPU / CLIENT_CPU under PIN=auto (not in 'fetch': no extra forks there)
  [[ $PIN == auto ]] || return 0
  local n; n=$(nproc)
  if ((n >= 2)); then
    SERVER_CPU=${SERVER_CPU:-$((n - 1))}
    if ((n == 2)); then CLIENT_CPU=${CLIENT_CPU:-0}; else CLIENT_CPU=${CLIENT_CPU:-0-$((n - 2))}; fi
  fi
}
client_pin() { PINC=(); if [[ -n $CLIENT_CPU ]] && need taskset; then PINC=(taskset -c "$CLIENT_CPU"); fi; }

load_state() { [[ -f $STATE ]] || die "run '$0 setup' first"; # shellcheck disable=SC1090
  . "$STATE"; }

# --------------------------------------------------------------- server ----
server_running() {
  [[ -f $PIDFILE ]] || return 1
  local pid; pid=$(cat "$PIDFILE")
  [[ -r /proc/$pid/cmdline ]] && tr '\0' ' ' < "/proc/$pid/cmdline" | grep -qF "$WORKDIR/nginx/nginx.conf"
}

cmd_start() {
  load_state
  pin_defaults
  if server_running; then   # pick up a rewritten config (e.g. another DELAY_MS)
    kill -HUP "$(cat "$PIDFILE")"; sleep 1
    log "nginx already running (pid $(cat "$PIDFILE")), config reloaded"; return 0
  fi
  local pin=()
  if [[ -n $SERVER_CPU ]] && need taskset; then pin=(taskset -c "$SERVER_CPU"); fi
  # Non-daemon nginx in its own session, so a timer's process-group cleanup
  # never touches it; we stop it by the PID recorded here.
  setsid "${pin[@]}" nginx -p "$WORKDIR/nginx" -c "$WORKDIR/nginx/nginx.conf" \
    -e "$WORKDIR/nginx/logs/error.log" </dev/null >>"$WORKDIR/nginx/logs/stdout.log" 2>&1 &
  echo $! > "$PIDFILE"
  local i
  for ((i = 0; i < 100; i++)); do  # up to ~10 s
    # Any corpus that was set up answers for the server (CORPORA=huge has no small one).
    if curl -sf -o /dev/null "http://127.0.0.1:$HPORT/small/img_0000.jpg" 2>/dev/null ||
       curl -sf -o /dev/null "http://127.0.0.1:$HPORT/large/img_0000.jpg" 2>/dev/null ||
       curl -sf -o /dev/null "http://127.0.0.1:$HPORT/huge/img_0000.jpg" 2>/dev/null; then
      log "nginx up (pid $(cat "$PIDFILE"), cpu ${SERVER_CPU:-any}) http://127.0.0.1:$HPORT https://127.0.0.1:$SPORT"
      return 0
    fi
    kill -0 "$(cat "$PIDFILE")" 2>/dev/null || break
    sleep 0.1
  done
  cat "$WORKDIR/nginx/logs/error.log" >&2 || true
  cmd_stop || true
  die "nginx did not come up"
}

cmd_stop() {
  server_running || { rm -f "$PIDFILE"; return 0; }
  local pid i; pid=$(cat "$PIDFILE")
  kill -QUIT "$pid" 2>/dev/null || true          # graceful shutdown
  for ((i = 0; i < 50; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill -TERM "$pid" 2>/dev/null || true; sleep 0.5; fi
  rm -f "$PIDFILE"
  log "nginx (pid $pid) stopped"
}

# ---------------------------------------------------------------- peers ----
# peer_argv PEER LIST CURLCFG SHARDS DEST CORPUS -> fills array CMD
peer_argv() {
  local peer=$1 list=$2 ccfg=$3 shards=$4 dest=$5 corpus=$6 tlsc=() tlsa=() tlsw=() tlsg=()
  if [[ $SCHEME == https ]]; then
    tlsc=(--cacert "$CACERT"); tlsa=(--ca-certificate="$CACERT")
    tlsw=(--ca-certificate="$CACERT"); tlsg=(-o "verify=$CACERT")
  fi
  case $peer in
    curl-par)   CMD=(curl --parallel --parallel-max "$JOBS" --fail --silent --show-error --no-progress-meter
                     "${tlsc[@]}" --remote-name-all --output-dir "$dest" -K "$ccfg") ;;
    curl-seq)   CMD=(curl --fail --silent --show-error --no-progress-meter
                     "${tlsc[@]}" --remote-name-all --output-dir "$dest" -K "$ccfg") ;;
    aria2c)     CMD=(aria2c --no-conf -q -j "$JOBS" -i "$list" -d "$dest" "${tlsa[@]}"
                     --file-allocation=none --auto-file-renaming=false --allow-overwrite=true
                     --summary-interval=0 --download-result=hide) ;;
    wget2)      CMD=(wget2 --no-config -q --max-threads="$JOBS" -i "$list" -P "$dest" "${tlsw[@]}") ;;
    wget-seq)   CMD=(wget --no-config -q -i "$list" -P "$dest" "${tlsw[@]}") ;;
    gallery-dl) CMD=(gallery-dl --config-ignore -q -D "$dest" -f '{filename}.{extension}' "${tlsg[@]}" -i "$list") ;;
    gallery-dl-xN)  # gallery-dl has no parallel mode: JOBS processes on JOBS shards of the list
                CMD=(xargs -a "$shards" -P "$JOBS" -I@ gallery-dl --config-ignore -q -D "$dest" -f '{filename}.{extension}' "${tlsg[@]}" -i @) ;;
    mosaiq)     # the account's album 1 is the corpus album (2 is the shuoshuo pseudo-album)
                # shellcheck disable=SC2206  # MOSAIQ_ENV: VAR=value words
                CMD=(env "MOSAIQ_CONNECT_TO=http=127.0.0.1:$HPORT,https=127.0.0.1:$SPORT"
                     "MOSAIQ_CA_FILE=$CACERT" "XDG_DATA_HOME=$WORKDIR/mosaiq/xdg" $MOSAIQ_ENV
                     "$MOSAIQ_CLI" download "$(qz_account "$corpus" "$SCHEME")" --albums 1
                     --save "$dest" --threads "$JOBS" --data-dir "$WORKDIR/mosaiq/data" --quiet) ;;
    ours)       [[ -n $OURS_CMD ]] || return 1
                local c=$OURS_CMD
                c=${c//\{URLS\}/$list}; c=${c//\{DEST\}/$dest}; c=${c//\{JOBS\}/$JOBS}; c=${c//\{CACERT\}/$CACERT}
                CMD=(bash -c "$c") ;;
    *) die "unknown peer $peer (peers: $ALL_PEERS)" ;;
  esac
}

peer_available() {
  case $1 in
    curl-par|curl-seq) need curl ;; aria2c) need aria2c ;; wget2) need wget2 ;;
    wget-seq) need wget ;; gallery-dl|gallery-dl-xN) need gallery-dl ;;
    mosaiq) [[ -x $MOSAIQ_CLI && -f $WORKDIR/mosaiq/data/soft.dat && -f $CACERT ]] ;;
    ours) [[ -n $OURS_CMD ]] ;; *) return 1 ;;
  esac
}

# fetch PEER CORPUS: move the previous download aside (O(1) rename), make an
# empty folder, exec the tool. This is the unit a timer should wrap.
cmd_fetch() {
  local peer=${1:?peer} corpus=${2:?corpus}
  load_state
  local base=$WORKDIR/lists/$corpus-$SCHEME dest=$DEST_ROOT/$peer-$corpus-$SCHEME
  [[ -f $base.txt ]] || die "no list $base.txt (run setup)"
  # (few processes here: each fork+exec costs ~3 ms on a small VM)
  [[ -d $DEST_ROOT/.trash ]] || mkdir -p "$DEST_ROOT/.trash"
  [[ -e $dest ]] && mv "$dest" "$DEST_ROOT/.trash/${dest##*/}.$$.$RANDOM"
  mkdir "$dest"
  peer_argv "$peer" "$base.txt" "$base.curl" "$base.shards.list" "$dest" "$corpus" || die "peer $peer not configured (set OURS_CMD)"
  export URL_LIST=$base.txt DEST_DIR=$dest JOBS CA_CERT=$CACERT
  if [[ -n ${FETCH_TIMEOUT:-} ]]; then exec timeout "$FETCH_TIMEOUT" "${CMD[@]}"; fi
  exec "${CMD[@]}"
}

# verify_by_sum DEST CORPUS: for tools that name files their own way (mosaiq):
# the sha256 sums of all files under DEST, except the album marker "pic.kel",
# must be exactly the corpus sums (each once). VERIFY=sample: every file's size,
# and the sums of ~50 of them must be corpus sums.
verify_by_sum() {
  local dest=$1 corpus=$2
  local n bytes sums=$WWW/$corpus.sha256 files got bad extra missing dup
  n=$(corpus_count "$corpus"); bytes=$(corpus_bytes "$corpus")
  files=$WORKDIR/verify.files
  find "$dest" -type f ! -name pic.kel -print0 > "$files"
  got=$(tr -cd '\0' < "$files" | wc -c)
  bad=$(find "$dest" -type f ! -name pic.kel ! -size "${bytes}c" | wc -l)
  extra=$(find "$dest" -type f -name pic.kel | wc -l)
  if ((got != n || bad != 0)); then echo "FAIL: $got/$n files, $bad wrong size ($dest)"; return 1; fi
  cut -c1-64 "$sums" | sort > "$WORKDIR/verify.want"
  if [[ $VERIFY == sample ]]; then
    tr '\0' '\n' < "$files" | awk -v n="$n" 'BEGIN{s=int(n/50); if(s<1)s=1} (NR-1)%s==0' | tr '\n' '\0' > "$files.s"
    mv "$files.s" "$files"
  fi
  xargs -0 sha256sum < "$files" | cut -c1-64 | sort > "$WORKDIR/verify.got"
  missing=$(comm -23 "$WORKDIR/verify.want" "$WORKDIR/verify.got" | wc -l)
  dup=$(comm -13 "$WORKDIR/verify.want" "$WORKDIR/verify.got" | wc -l)   # foreign or repeated
  if [[ $VERIFY == sample ]]; then missing=0; fi
  if ((missing != 0 || dup != 0)); then
    echo "FAIL: $missing corpus sums missing, $dup files not matching a corpus sum once ($dest)"; return 1
  fi
  echo "OK: $n files x $bytes B, sha256 of $(wc -l < "$WORKDIR/verify.got") files match the corpus by content, $extra marker files"
}

# verify PEER CORPUS: every file present with the right size; checksums.
cmd_verify() {
  local peer=${1:?peer} corpus=${2:?corpus}
  local dest=$DEST_ROOT/$peer-$corpus-$SCHEME n bytes sums=$WWW/$corpus.sha256
  n=$(corpus_count "$corpus"); bytes=$(corpus_bytes "$corpus")
  [[ -d $dest ]] || { echo "FAIL: no $dest"; return 1; }
  if [[ $peer == mosaiq ]]; then verify_by_sum "$dest" "$corpus"; return; fi
  local got bad extra
  got=$(find "$dest" -maxdepth 1 -type f -name 'img_*.jpg' | wc -l)
  bad=$(find "$dest" -maxdepth 1 -type f -name 'img_*.jpg' ! -size "${bytes}c" | wc -l)
  extra=$(find "$dest" -mindepth 1 ! -name 'img_*.jpg' | wc -l)
  if ((got != n || bad != 0)); then echo "FAIL: $got/$n files, $bad wrong size ($dest)"; return 1; fi
  local list=$sums
  if [[ $VERIFY == sample ]]; then
    list=$WORKDIR/sample.sha256
    awk -v n="$n" 'BEGIN{s=int(n/50); if(s<1)s=1} (NR-1)%s==0 || NR==n' "$sums" > "$list"
  fi
  (cd "$dest" && sha256sum --quiet -c "$list" >/dev/null 2>&1) ||
    { echo "FAIL: checksum mismatch in $dest"; return 1; }
  local k; k=$(wc -l < "$list")
  local note=""; ((extra > 0)) && note=", $extra other entries"
  echo "OK: $n files x $bytes B, sha256 of $k files match$note"
}

cmd_clean() {
  rm -rf "${DEST_ROOT:?}/.trash" "$DEST_ROOT"/*-http "$DEST_ROOT"/*-https "$DEST_ROOT"/ceil-* 2>/dev/null || true
  sync
}

# ------------------------------------------------------------ measuring ----
calc() { awk "BEGIN{printf \"%.6f\", $*}"; }
median() { sort -g | awk '{a[NR]=$1} END{if(NR==0){print "nan"; exit} m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; print m}'; }
minmax() { sort -g | awk 'NR==1{mn=$1} {mx=$1} END{printf "%.3f-%.3f", mn, mx}'; }

# timed CMD...: run once; prints "wall user sys maxrss_kib rc". Wall comes
# from bash's EPOCHREALTIME (us); /usr/bin/time gives cpu (10 ms steps) and RSS.
timed() {
  local tf rc=0 t0 t1; tf=$(mktemp)
  t0=${EPOCHREALTIME:-$(date +%s.%N)}
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -f '%U %S %M' -o "$tf" "$@" >/dev/null 2>>"$WORKDIR/peers.stderr" || rc=$?
  else
    "$@" >/dev/null 2>>"$WORKDIR/peers.stderr" || rc=$?; echo "nan nan nan" > "$tf"
  fi
  t1=${EPOCHREALTIME:-$(date +%s.%N)}
  echo "$(calc "$t1 - $t0") $(tail -n1 "$tf") $rc"
  rm -f "$tf"
}

# run_peer CORPUS PEER COUNT: COUNT timed fetches, each verified; appends to WALLS, CPUS,
# RSS and CHECK of PEER.
declare -A WALLS=() CPUS=() RSS=() CHECK=()
run_peer() {
  local corpus=$1 peer=$2 count=$3 r line w u s m rc
  for ((r = 0; r < count; r++)); do
    cmd_clean
    line=$(timed "${PINC[@]}" timeout "$TIMEOUT" "$SELF" fetch "$peer" "$corpus")
    read -r w u s m rc <<<"$line"
    WALLS[$peer]+="$w " CPUS[$peer]+="$(calc "$u + $s") " RSS[$peer]+="$m "
    : "${CHECK[$peer]:=OK}"
    [[ $rc == 0 ]] || CHECK[$peer]="rc=$rc"
    cmd_verify "$peer" "$corpus" >/dev/null || CHECK[$peer]="BAD"
  done
}

cmd_all() {
  SELF=$(readlink -f "$0")
  cmd_setup
  cmd_start
  trap 'cmd_stop' EXIT
  client_pin
  : > "$WORKDIR/peers.stderr"
  local corpora=${CORPORA// /+}
  local out=$WORKDIR/results-$SCHEME-d$DELAY_MS-$corpora.tsv corpus peer r
  printf 'corpus\tpeer\tmedian_s\tmin-max_s\tfiles/s\tMB/s\tcpu_s\tpeak_MiB\tcheck\n' > "$out"
  echo "# $(date -u +%FT%TZ) $(nproc) cpus (client ${CLIENT_CPU:-any}, server ${SERVER_CPU:-any}), JOBS=$JOBS RUNS=$RUNS SCHEME=$SCHEME HTTP2=$HTTP2 dest=$DEST_ROOT" >&2
  for corpus in $CORPORA; do
    local n bytes; n=$(corpus_count "$corpus"); bytes=$(corpus_bytes "$corpus")
    local peers=() peer
    for peer in $PEERS; do
      peer_available "$peer" || { log "skip $peer (not installed / OURS_CMD unset)"; continue; }
      peers+=("$peer")
      cmd_clean
      log "$corpus: $peer ($WARMUP warm-up + $RUNS runs${ORDER:+, $ORDER})"
      for ((r = 0; r < WARMUP; r++)); do   # not counted
        timed "${PINC[@]}" timeout "$TIMEOUT" "$SELF" fetch "$peer" "$corpus" >/dev/null
        cmd_clean
      done
      [[ $ORDER == interleaved ]] || run_peer "$corpus" "$peer" "$RUNS"
    done
    if [[ $ORDER == interleaved ]]; then
      for ((r = 0; r < RUNS; r++)); do
        for peer in "${peers[@]}"; do run_peer "$corpus" "$peer" 1; done
      done
    fi
    for peer in "${peers[@]}"; do
      local walls=(${WALLS[$peer]}) cpus=(${CPUS[$peer]}) rss=(${RSS[$peer]})
      local mw; mw=$(printf '%s\n' "${walls[@]}" | median)
      printf '%s\t%s\t%.3f\t%s\t%.0f\t%.0f\t%.2f\t%.1f\t%s\n' "$corpus" "$peer" "$mw" \
        "$(printf '%s\n' "${walls[@]}" | minmax)" \
        "$(calc "$n / $mw")" "$(calc "$n * $bytes / $mw / 1000000")" \
        "$(printf '%s\n' "${cpus[@]}" | median)" \
        "$(calc "$(printf '%s\n' "${rss[@]}" | median) / 1024")" "${CHECK[$peer]}" >> "$out"
    done
    WALLS=() CPUS=() RSS=() CHECK=()
  done
  cmd_clean
  column -t -s $'\t' "$out" 2>/dev/null || cat "$out"
  echo "(MB = 10^6 bytes; cpu = user+sys of the fetch; peak = max RSS of one process; results in $out)" >&2
  if grep -q $'\tmosaiq\t' "$out"; then write_ratios "$out"; fi
}

# write_ratios RESULTS: mosaiq's median wall time over each other peer's, and
# over the floor of JOBS connections (N * DELAY_MS / JOBS) when DELAY_MS > 0.
write_ratios() {
  local out=$1 rat=${1/results-/ratios-} corpus n
  printf 'corpus\tmosaiq_vs\tother_median_s\tmosaiq_median_s\tratio\n' > "$rat"
  for corpus in $CORPORA; do
    n=$(corpus_count "$corpus")
    awk -F'\t' -v c="$corpus" -v n="$n" -v d="$DELAY_MS" -v j="$JOBS" '
      $1 == c { med[$2] = $3; order[++k] = $2 }
      END {
        if (!("mosaiq" in med)) exit
        m = med["mosaiq"]
        for (i = 1; i <= k; i++) if (order[i] != "mosaiq" && med[order[i]] > 0)
          printf "%s\t%s\t%.3f\t%.3f\t%.2f\n", c, order[i], med[order[i]], m, m / med[order[i]]
        if (d > 0) { f = n * d / 1000 / j; printf "%s\tfloor(%dx%dms/%d)\t%.3f\t%.3f\t%.2f\n", c, n, d, j, f, m, m / f }
      }' "$out" >> "$rat"
  done
  echo "# mosaiq / other (median wall time; above 1 = mosaiq slower)"
  column -t -s $'\t' "$rat" 2>/dev/null || cat "$rat"
}

# phases CORPUS [PEER...]: one mosaiq fetch, then one fetch of each PEER
# (default curl-par), with every request logged by nginx (QZ_TRACE) and
# mosaiq's worker log on. Prints when each page request and the pictures
# reached the server, relative to the start of the process, so the download
# phase of mosaiq can be set beside the same phase of a peer.
cmd_phases() {
  local corpus=${1:-small}; shift || true
  local others=("$@"); ((${#others[@]})) || others=(curl-par)
  SELF=$(readlink -f "$0")
  QZ_TRACE=1 cmd_setup
  QZ_TRACE=1 cmd_start
  trap 'cmd_stop' EXIT
  client_pin
  peer_available mosaiq || die "peer mosaiq not available (MOSAIQ_CLI=$MOSAIQ_CLI)"
  local trace=$WORKDIR/nginx/logs/qz.log qlog=$WORKDIR/phases-$corpus-$SCHEME.workers.log t0 t1 rc peer
  echo "# phases: $corpus over $SCHEME, JOBS=$JOBS DELAY_MS=$DELAY_MS (times from the start of the fetch)"
  for peer in mosaiq "${others[@]}"; do
    peer_available "$peer" || { log "skip $peer"; continue; }
    cmd_clean
    : > "$trace"; rc=0
    t0=$EPOCHREALTIME
    QT_LOGGING_RULES=mosaiq.workers.debug=true QT_MESSAGE_PATTERN='%{time process}|%{category}|%{message}' \
      "${PINC[@]}" timeout "$TIMEOUT" "$SELF" fetch "$peer" "$corpus" >/dev/null 2>"$qlog.$peer" || rc=$?
    t1=$EPOCHREALTIME
    sleep 0.5   # nginx writes its log line after the response
    echo "-- $peer: rc=$rc, $(cmd_verify "$peer" "$corpus")"
    awk -v t0="$t0" -v t1="$t1" '
      { start = $1 - $2; end = $1 }
      $7 ~ /^\/proxy\/domain\// {
        what = $7; sub(/\?.*/, "", what); sub(/.*\//, "", what)
        if (match($7, /pageStart=[0-9]+/)) what = what " " substr($7, RSTART, RLENGTH)
        if (np == 0) first_page = start
        if (np > 0) gaps += start - last_page_end
        printf "  %8.3f s  page %-30s %6d B  status %s  (%.3f s after the previous page ended)\n", start - t0, what, $4, $3, np ? start - last_page_end : 0
        last_page_end = end; np++; next }
      { if (npic == 0 || start < pic0) pic0 = start
        if (end > pic1) pic1 = end
        npic++; bytes += $4; conn[$5] = 1; if ($3 != 200) bad++ }
      END {
        for (c in conn) nc++
        if (np) {
          printf "  %8.3f s  process start -> first page request\n", first_page - t0
          printf "  %8.3f s  listing: first page request -> last page answered (%.3f s of it between pages)\n", last_page_end - first_page, gaps
          printf "  %8.3f s  last page answered -> first picture request\n", pic0 - last_page_end
        } else printf "  %8.3f s  process start -> first picture request\n", pic0 - t0
        printf "  %8.3f s  DOWNLOAD PHASE: first picture request -> last answered: %d requests (%d not 200), %.0f MB, %d connections, %.0f MB/s\n", pic1 - pic0, npic, bad, bytes / 1e6, nc, bytes / 1e6 / (pic1 - pic0 > 0 ? pic1 - pic0 : 1)
        printf "  %8.3f s  last picture answered -> process end\n", t1 - pic1
        printf "  %8.3f s  total wall time\n", t1 - t0
      }' "$trace"
    if [[ $peer == mosaiq && -s $qlog.$peer ]]; then
      awk -F'|' '$2 == "mosaiq.workers" { if ($3 ~ /^Close Handle/) { k++; if (k == 1) f = $1; l = $1 } else if ($3 == "OK") ok = $1 }
        END { printf "  worker log: %d \"Close Handle\" lines within %.3f s; monitor \"OK\" %.3f s after the first\n", k, l - f, ok - f }' "$qlog.$peer"
    fi
  done
  echo "(trace of the last fetch: $trace; worker logs: $qlog.*)" >&2
}

# ceiling: what this machine can do at best, same units (median of RUNS).
cmd_ceiling() {
  cmd_setup
  gen_big
  cmd_start
  trap 'cmd_stop' EXIT
  client_pin
  local d=$DEST_ROOT/ceil big=$((BIG_MIB * 1024 * 1024)) corpus n bytes
  local bigurl=http://127.0.0.1:$HPORT/big/big.bin
  ceil() { # label bytes files CMD... ; runs 1 warm-up + RUNS, fresh target each run
    local label=$1 b=$2 f=$3 r line w ws=(); shift 3
    for ((r = 0; r <= RUNS; r++)); do
      cmd_clean; mkdir -p "$d"
      line=$(timed "${PINC[@]}" "$@"); read -r w _ _ _ rc <<<"$line"
      ((r > 0)) && ws+=("$w")
    done
    w=$(printf '%s\n' "${ws[@]}" | median)
    local fps=-; ((f > 1)) && fps=$(awk -v f="$f" -v w="$w" 'BEGIN{printf "%.0f", f / w}')
    printf '%-40s %7.3f s  %7.0f MB/s  %7s files/s  rc=%s\n' "$label" "$w" \
      "$(calc "$b / $w / 1000000")" "$fps" "$rc"
  }
  cat "$WWW/big/big.bin" "$WWW"/*/img_* > /dev/null   # warm the page cache
  for corpus in $CORPORA; do
    n=$(corpus_count "$corpus"); bytes=$(corpus_bytes "$corpus")
    ceil "cp -r $corpus (page cache -> files)" $((n * bytes)) "$n" cp -r "$WWW/$corpus" "$d/x"
    ceil "curl --parallel $JOBS $corpus -> /dev/null" $((n * bytes)) "$n" \
      curl -s --parallel --parallel-max "$JOBS" -K "$WORKDIR/lists/$corpus-http.null.curl"
    ceil "curl (1 conn) $corpus -> /dev/null" $((n * bytes)) "$n" curl -s -K "$WORKDIR/lists/$corpus-http.null.curl"
  done
  ceil "cat ${BIG_MIB}MiB file | (pipe)" "$big" 1 sh -c "cat '$WWW/big/big.bin' | cat > /dev/null"
  ceil "curl 1 x ${BIG_MIB}MiB -> /dev/null" "$big" 1 curl -s -o /dev/null "$bigurl"
  ceil "curl 1 x ${BIG_MIB}MiB -> file" "$big" 1 curl -s -o "$d/big.bin" "$bigurl"
  if [[ -f $CACERT ]]; then
    ceil "curl https 1 x ${BIG_MIB}MiB -> /dev/null" "$big" 1 \
      curl -s --cacert "$CACERT" -o /dev/null "https://127.0.0.1:$SPORT/big/big.bin"
  fi
  ceil "dd ${BIG_MIB}MiB -> disk, fdatasync" "$big" 1 \
    dd if="$WWW/big/big.bin" of="$d/dd.bin" bs=1M conv=fdatasync status=none
  cmd_clean
}

case ${1:-all} in
  all) cmd_all ;;
  setup) cmd_setup ;;
  start) cmd_start ;;
  stop) cmd_stop ;;
  fetch) shift; cmd_fetch "$@" ;;
  verify) shift; cmd_verify "$@" ;;
  ceiling) cmd_ceiling ;;
  phases) shift; cmd_phases "$@" ;;
  clean) cmd_clean ;;
  peers) echo "$ALL_PEERS" ;;
  -h|--help|help) awk 'NR > 1 { if (/^set -euo/) exit; print }' "$SELF" ;;
  *) die "unknown subcommand $1 (try --help)" ;;
esac
