// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstring>
#include <string>

#include "compiler/data_lines.h"
#include "compiler/line_classifier_p.h"

namespace kpx {
namespace {

bool isCommentLine(const char *key, std::size_t keyLength, const char *output)
{
    if (key[0] == '/' && key[1] == '/')
        return true;
    if (keyLength >= 2 && key[keyLength - 2] == '/' && key[keyLength - 1] == '/')
        return true;
    if (keyLength == 1 && key[0] == '/')
        return true;
    return output[0] == '/' && output[1] == '/';
}

// The length of text, but no more than limit + 1 bytes are looked at.
std::size_t lengthUpTo(const char *text, std::size_t limit)
{
    const void *end = std::memchr(text, 0, limit + 1);
    return end ? static_cast<std::size_t>(static_cast<const char *>(end) - text) : limit + 1;
}

ClassifiedLine problem(ClassifiedLine line, LineProblemReason reason)
{
    line.isProblem = true;
    line.problem = reason;
    return line;
}

} // namespace

ClassifiedLine classifyLine(char *line, ColumnList &columns)
{
    ClassifiedLine result;
    if (!line)
        return result;
    const std::int32_t count = splitColumns(columns, line, 3, ' ');
    if (count < 0) {
        result.kind = LineKind::OutOfMemory;
        return result;
    }
    if (count < 2) {
        // A single word is a mistake unless it is a comment ("//note", "note//", "/").
        if (count == 1) {
            const char *word = columns[0];
            const std::size_t length = std::strlen(word);
            const bool comment = (word[0] == '/' && (word[1] == '/' || word[1] == 0))
                || (length >= 2 && word[length - 2] == '/' && word[length - 1] == '/');
            result.isProblem = !comment;
            result.isComment = comment;
        }
        return result;
    }
    char *key = columns[0];
    char *output = columns[1];
    // Only the first eight bytes decide: "#includes" is an include line too.
    if (key[0] == '#' && std::strncmp(key, "#include", 8) == 0)
        return classifyIncludeArgument(output);
    // A comment is passed over before the limits, so that a long comment is no mistake; a key
    // over its limit is measured whole for the test of its end.
    std::size_t keyLength = lengthUpTo(key, kMaxKeyBytes);
    if (keyLength > kMaxKeyBytes)
        keyLength = std::strlen(key);
    if (isCommentLine(key, keyLength, output)) {
        result.isComment = true;
        return result;
    }
    if (keyLength > kMaxKeyBytes)
        return problem(result, LineProblemReason::KeyTooLong);
    const std::size_t outputLength = lengthUpTo(output, kMaxOutputBytes);
    if (outputLength > kMaxOutputBytes)
        return problem(result, LineProblemReason::OutputTooLong);
    result.kind = LineKind::Entry;
    result.key = key;
    result.output = output;
    result.keyLength = keyLength;
    result.outputLength = outputLength;
    return result;
}

ClassifiedLine classifyIncludeArgument(char *argument)
{
    ClassifiedLine result;
    if (argument[0] == '"' || argument[0] == '<')
        ++argument;
    std::size_t length = std::strlen(argument);
    if (length == 0) {
        // A lone quote or '<': the line names no file that could be read.
        result.argument = argument;
        return problem(result, LineProblemReason::IncludeNotOpened);
    }
    // The opening and closing marks are independent of each other.
    if (argument[length - 1] == '"' || argument[length - 1] == '>')
        argument[--length] = 0;
    if (length >= 4 && argument[0] == 'o' && argument[1] == '=') {
        result.kind = LineKind::OutputOverride;
        result.argument = argument + 2;
    } else if (length >= 4 && argument[0] == 'i' && argument[1] == 'd' && argument[2] == '=') {
        result.kind = LineKind::IdOverride;
        result.argument = argument + 3;
    } else {
        result.kind = LineKind::Include;
        result.argument = argument;
    }
    return result;
}

bool dataLineKey(std::string_view line, std::size_t &keyAt, std::size_t &keyLength)
{
    // Classification splits its line in place: it works on a copy.
    thread_local std::string scratch;
    thread_local ColumnList columns;
    scratch.assign(line);
    scratch.push_back('\0');
    const ClassifiedLine classified = classifyLine(scratch.data(), columns);
    if (classified.kind != LineKind::Entry)
        return false;
    keyAt = static_cast<std::size_t>(classified.key - scratch.data());
    keyLength = classified.keyLength;
    return true;
}

} // namespace kpx
