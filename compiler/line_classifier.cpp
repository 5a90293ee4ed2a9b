// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/columns.h"
#include "compiler/table_compiler_object.h"

#include <cstring>

namespace {

bool isCommentLine(const char *key, const char *output)
{
    const std::size_t keyLength = std::strlen(key);
    if (key[0] == '/' && key[1] == '/')
        return true;
    if (keyLength >= 2 && key[keyLength - 2] == '/' && key[keyLength - 1] == '/')
        return true;
    if (keyLength == 1 && key[0] == '/')
        return true;
    return output[0] == '/' && output[1] == '/';
}

} // namespace

std::int32_t classifyLine(TableCompiler &compiler, TextBuffer &buffer)
{
    char *line = buffer.data();
    if (!line)
        return 0;
    ColumnList columns;
    const std::int32_t count = splitColumns(columns, line, 3, ' ');
    if (count < 0) {
        compiler.noteOutOfMemory();
        return 0;
    }
    if (count < 2)
        return 0;
    char *key = columns[0];
    char *output = columns[1];
    // Only the first eight bytes decide: "#includes" is an include line too.
    if (key[0] == '#' && std::strncmp(key, "#include", 8) == 0)
        return compiler.includeDirective(output);
    if (isCommentLine(key, output))
        return 0;
    if (std::strlen(key) > TableCompiler::kMaxKeyBytes || std::strlen(output) > TableCompiler::kMaxOutputBytes)
        return 0;
    compiler.addEntry(key, output);
    return 1;
}
