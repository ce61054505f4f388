#pragma once
// The key of the history file. It is never shown to the user; only the
// history store and tests that craft history files of their own read it.
//
// History files are keyed with kHistoryPassword: the raw 256-bit key that
// PBKDF2-HMAC-SHA256 (64,000 rounds, salt "Mirkano.mdb") derives from the
// six-digit password, in the database engine's raw-key form x'…'. It was
// derived once, here, so that opening a file costs no key derivation, and the
// file stays unreadable to anyone without the password or this key. Files
// written before were keyed with the six-digit password itself and are read
// with it when the raw key does not open them.

namespace mirkano::detail {

inline constexpr char kSixDigitPassword[] = "730618";
inline constexpr char kHistoryKeySalt[] = "Mirkano.mdb";
inline constexpr int kHistoryKeyRounds = 64000;
inline constexpr char kHistoryPassword[] =
    "x'2148b2a8df219ec7d91b0102f5adf339314a114f6f5173281ef2d3ef4c5734e2'";

}  // namespace mirkano::detail
