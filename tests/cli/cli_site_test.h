#pragma once

#include "cli/cli_run.h"
#include "core/picture_queue.h"
#include "support/fixture_files.h"
#include "support/fixture_server.h"
#include "support/page_routes.h"
#include "support/sandbox.h"
#include "web/pause_clock.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

namespace mosaiq::test {

// `mosaiq-cli` run in-process as a user types its commands, against site pages served by
// address from the fixtures: the real site table, no wait slept.
class CliSiteTest : public Sandbox {
  protected:
    void TearDown() override {
        g_pictureQueue().Clear();
        Sandbox::TearDown();
    }

    void Serve(const QString& address, const Reply& reply) { m_routes.Serve(address, {reply}); }
    void Serve(const QString& address, const QByteArray& body) { Serve(address, Picture(body)); }

    static Reply Page(const QString& fixture) { return Picture(FixtureBytes(fixture)); }
    static Reply Picture(const QByteArray& body) {
        Reply reply;
        reply.body = body;
        return reply;
    }

    struct Run {
        int code;
        QString out;
        QString err;
    };
    // The command with the sandbox's data folder; a download without "--save" saves into the
    // sandbox's save folder.
    Run Cli(QStringList args) {
        args << "--data-dir" << dataDir();
        if (args.first() == u"download" && !args.contains(u"--save")) {
            args << "--save" << saveDir();
        }
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int code = RunCli(args, {out, err, false});
        return {code, ReadBack(out), ReadBack(err)};
    }

    QByteArray Saved(const QString& relative) const {
        QFile file(saveDir() + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    FixtureServer server;

  private:
    static QString ReadBack(std::FILE* file) {
        std::rewind(file);
        QByteArray bytes;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, qsizetype(n));
        }
        std::fclose(file);
        return QString::fromUtf8(bytes);
    }

    PageRoutes m_routes{server};
};

}  // namespace mosaiq::test
