// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/line_reader.h"
#include "compiler/table_compiler_object.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

std::int32_t TableCompiler::includeDirective(char *argument)
{
    if (argument[0] == '"' || argument[0] == '<')
        ++argument;
    std::size_t length = std::strlen(argument);
    if (length == 0)
        return 0;
    // The opening and closing marks are independent of each other.
    if (argument[length - 1] == '"' || argument[length - 1] == '>')
        argument[--length] = 0;
    if (length >= 4) {
        if (argument[0] == 'o' && argument[1] == '=') {
            if (!outputPathOverride_.set(argument + 2))
                noteOutOfMemory();
            return 0;
        }
        if (argument[0] == 'i' && argument[1] == 'd' && argument[2] == '=') {
            if (!idOverride_.set(argument + 3))
                noteOutOfMemory();
            return 0;
        }
    }
    includeFile(argument);
    return 1;
}

std::int32_t TableCompiler::includeFile(const char *path)
{
    const std::int32_t countBefore = entries_.count();
    std::unique_ptr<LineReader> reader;
    try {
        reader = std::make_unique<LineReader>(LineReader::kBlockSize);
    } catch (const std::bad_alloc &) {
        noteOutOfMemory();
        return 0;
    }
    if (!reader->openForReading(path))
        return 0;

    // A file that is already being read further up the include chain would be read forever.
    kpx::os::FileIdentity identity;
    const bool identified = kpx::os::fileIdentity(reader->file().isOpen(), identity);
    if (identified) {
        if (std::find(includeChain_.begin(), includeChain_.end(), identity) != includeChain_.end())
            return 0;
        try {
            includeChain_.push_back(identity);
        } catch (const std::bad_alloc &) {
            noteOutOfMemory();
            return 0;
        }
    }

    TextBuffer line;
    while (!outOfMemory_ && reader->nextLine(line)) {
        // Every line that starts with '#' is passed over: only an indented include line in an
        // included file is followed.
        if (line.get()[0] == '#')
            continue;
        classifyLine(*this, line);
        progressStep();
    }
    if (reader->outOfMemory())
        noteOutOfMemory();
    if (identified)
        includeChain_.pop_back();
    reader->closeFile();
    return entries_.count() - countBefore;
}
