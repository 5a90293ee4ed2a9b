// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Standard input and output carry a tool's files byte for byte ("-" as a file name): on Windows
// they are text streams that would turn LF into CR LF unless switched.
namespace kpx::os {

void setStandardStreamsBinary();

// What a piece of text for standard output or error is: a message (UTF-8, file names in it as
// messageName gives them) or the program's own Big5 bytes (a table's entries).
enum class StreamText { Message, Big5 };

// Writes text to stream (stdout or stderr). On Windows, when the stream is a console, as UTF-16
// (WriteConsoleW), Big5 through the program's own code page 950 table, so that it reads right
// whatever the console's code page; otherwise, and everywhere else, the bytes as they are.
// False when the write failed.
bool writeStandardStream(std::FILE *stream, std::string_view text, StreamText kind);

// A path in the program's form (platform/native_path.h) as messages carry it: on Windows UTF-8,
// through the program's own code page 950 table (a byte that is no character stays a \xNN);
// elsewhere the bytes themselves, as the system names the file.
std::string messageName(std::string_view programPath);

// The encoding of messages that go to a file or pipe, for the tools' help: "UTF-8" on Windows,
// where messages are UTF-8 text unless written to a console; empty elsewhere.
const char *redirectedMessageEncoding();

// Whether standard output shows UTF-8 text as characters: a terminal whose locale's character
// set is UTF-8 (POSIX), or a console, which is written as UTF-16 (Windows).
bool standardOutputShowsUtf8();

} // namespace kpx::os
