#pragma once
// SHA-256 of a byte string, as lowercase hex (what sha256sum prints). The
// data folder of an installed program records the digest of every shipped
// file it laid out, to tell a file the learner left alone from one they
// changed.

#include <string>
#include <string_view>

std::string Sha256Hex(std::string_view bytes);
