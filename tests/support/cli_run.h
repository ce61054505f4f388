#pragma once
// One command line of mirkano-cli run in-process, with its own streams, as
// the command-line tests drive it.

#include "cli/cli.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sstream>

namespace mirkano::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

inline CliRun runInProcess(const QStringList& args)
{
    std::ostringstream out, err;
    cli::Streams streams{out, err};
    CliRun r;
    r.exitCode = cli::runCli(args, streams);
    r.out = QByteArray::fromStdString(out.str());
    r.err = QString::fromStdString(err.str());
    return r;
}

}  // namespace mirkano::test
