// The update command as a module the tool loads only when the update runs:
// the network library it needs stays out of every other command's start.
// Errors leave as exceptions; the tool reports them like any command's.

#include "cli/cli.h"

extern "C" __attribute__((visibility("default"))) int mirkano_cli_update(const mirkano::cli::Args& a,
                                                                          mirkano::cli::Streams& s)
{
    return mirkano::cli::runUpdate(a, s);
}
