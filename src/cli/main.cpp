// mirkano-cli: the core from the command line. Imports a CSV into a history
// file, exports the history, prints the start-up tables or any analysis sheet
// as JSON, replaces the history by the one on the download server. The
// commands live in the mirkano_cli library (cli/cli.h).

#include "cli/cli.h"

#include <csignal>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    // A reader that goes away (a closed pipe) is a failed write like any
    // other: reported with a message and exit code 1, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    // A standard stream that was closed is taken by /dev/null, so that no file
    // the commands open later gets its number and receives the output; the
    // output then fails as written to a closed stream.
    const bool outOpen = ::fcntl(STDOUT_FILENO, F_GETFD) != -1;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) == -1)
            ::open("/dev/null", O_RDWR | O_CLOEXEC);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    mirkano::cli::FdStreamBuf out(outOpen ? STDOUT_FILENO : -1);
    std::ostream outStream(&out);
    mirkano::cli::Streams streams{outStream, std::cerr};
    return mirkano::cli::runCli(args, streams);
}
