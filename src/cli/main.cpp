// mirkano-cli: the core from the command line. Imports a CSV into a history
// file, exports the history, prints the start-up tables or any analysis sheet
// as JSON, replaces the history by the one on the download server. The
// commands live in the mirkano_cli library (cli/cli.h).

#include "cli/cli.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#if defined(__SANITIZE_ADDRESS__)
#  define MIRKANO_LEAK_CHECK
#elif defined(__has_feature)
#  if __has_feature(address_sanitizer)
#    define MIRKANO_LEAK_CHECK
#  endif
#endif

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
    int code;
    {
        mirkano::cli::FdStreamBuf out(outOpen ? STDOUT_FILENO : -1);
        std::ostream outStream(&out);
        mirkano::cli::Streams streams{outStream, std::cerr};
        code = mirkano::cli::runCli(args, streams);
    }  // the output is written out here; every file was closed by the command
#if defined(MIRKANO_LEAK_CHECK)
    return code;  // the leak check runs at exit
#else
    // Nothing is left to do at exit but to free memory the system takes back
    // anyway (the crypto library's tables alone cost about 2 % of a call), so
    // the process ends here. Standard error is unbuffered.
    std::fflush(nullptr);
    std::_Exit(code);
#endif
}
