// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "exchange/exchange.h"
#include "tools/tool_support.h"

// kpx-convert's import options (columns, the form of keys, variants) and its import summary.
namespace kpx::tools {

// The usage lines of the import options.
extern const char *const kImportOptionsUsage;

struct ImportChoices {
    ExchangeOptions *exchange = nullptr;
    bool keyOptionGiven = false; // --keys, --blanks or --keep-case: respell a big5 input's keys
};

// Takes the import options (--key, --text, --keys, --blanks, --keep-case, --no-variants) from
// what the tool's parser read: 0, or the usage error's exit status after its message.
int takeImportOptions(const char *tool, const ParsedOptions &given, ImportChoices &choices);

// The summary of an import on standard error: words read, entries made, keys changed by kind,
// characters replaced (each named, file:line: from -> to) and words refused by reason with the
// first few of them. Nothing with quiet but the refused lines, which the caller prints anyway.
void printImportSummary(const ImportResult &result, const std::string &inputName, bool quiet);

} // namespace kpx::tools
