#pragma once
// The fixed password of the history file. It is never shown to the user; only
// the history store and tests that craft history files of their own read it.

namespace mirkano::detail {

inline constexpr char kHistoryPassword[] = "730618";

}  // namespace mirkano::detail
