// The tests run the update in-process: the command is linked in here rather
// than loaded as the tool's module.
#include "cli/cli.h"

namespace {

const bool linked = (mirkano::cli::useLinkedUpdateCommand(&mirkano::cli::runUpdate), true);

}  // namespace
