// mirkano-cli: the core from the command line. Imports a CSV into a history
// file, exports the history, prints the start-up tables or any analysis sheet
// as JSON, replaces the history by the one on the download server. The
// commands live in the mirkano_cli library (cli/cli.h).

#include "cli/cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    mirkano::cli::Streams streams{std::cout, std::cerr};
    const int code = mirkano::cli::runCli(args, streams);
    std::cout.flush();
    return code;
}
