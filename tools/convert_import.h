// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "exchange/exchange.h"

// kpx-convert's import options (columns, the form of keys, variants) and its import summary.
namespace kpx::tools {

// The usage lines of the import options.
extern const char *const kImportOptionsUsage;

struct ImportChoices {
    ExchangeOptions *exchange = nullptr;
    bool keyOptionGiven = false; // --keys, --blanks or --keep-case: respell a big5 input's keys
};

// Takes argv[at] (and its value) when it is an import option: 1 when taken (at moved to the
// value), 0 when it is none, -1 after a message for a bad value.
int parseImportOption(int argc, char **argv, int &at, ImportChoices &choices);

// The summary of an import on standard error: words read, entries made, keys changed by kind,
// characters replaced (each named, file:line: from -> to) and words refused by reason with the
// first few of them. Nothing with quiet but the refused lines, which the caller prints anyway.
void printImportSummary(const ImportResult &result, const std::string &inputName, bool quiet);

} // namespace kpx::tools
