// SPDX-License-Identifier: GPL-2.0-or-later
// The compiler's object: a run from its lines to its table. Include lines recurse through
// compileLine and includeFile, both here.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "compiler/entry_order_p.h"
#include "compiler/entry_sort_p.h"
#include "compiler/line_classifier_p.h"
#include "compiler/table_compiler_object_p.h"
#include "io/file_handle.h"
#include "io/line_reader.h"

namespace kpx {

std::int32_t TableCompiler::begin(std::int32_t reserve)
{
    // The entries' blocks go all at once; the array and its capacity stay for the next run.
    texts_.release();
    entries_.empty();
    sequence_ = 0;
    outOfMemory_ = false;
    tableFull_ = false;
    bodyBytes_ = 0;
    inputs_.clear();
    filesRead_.clear();
    if (!entries_.reserveExactly(reserve))
        noteOutOfMemory();
    idOverride_.clear();
    outputPathOverride_.clear();
    problems_.begin();
    lineCounts_ = CompiledLineCounts {};
    reading_ = ReadingPlace {};
    hasSourceFile_ = false;
    return 1;
}

void TableCompiler::setSourceFile(const char *path)
{
    FileHandle file;
    hasSourceFile_ = path && file.openRead(path) && os::fileIdentity(file.isOpen(), sourceFile_);
    // A data file not saved yet is still the file whose name the table must not take.
    const bool recorded = !path || !*path || (hasSourceFile_ ? inputs_.add(sourceFile_, path) : inputs_.addName(path));
    if (!recorded)
        noteOutOfMemory();
}

void TableCompiler::addLine(const char *line)
{
    // Every call is the editor's next line, whether or not it can be compiled.
    reading_ = ReadingPlace { 0, reading_.line + 1 };
    if (!line || stopped())
        return;
    // Classification works in place, so it gets a private copy of the caller's line.
    if (!editorLine_.set(line)) {
        noteOutOfMemory();
        return;
    }
    compileLine(editorLine_);
}

std::int32_t TableCompiler::compileLine(TextBuffer &buffer)
{
    const ClassifiedLine line = classifyLine(buffer.data(), columns_);
    switch (line.kind) {
    case LineKind::Nothing:
        if (line.isComment)
            ++lineCounts_.commentLines;
        if (line.isProblem) {
            if (line.problem == LineProblemReason::IncludeNotOpened)
                includeNotRead(line.problem, line.argument);
            else
                problems_.lineMadeNoEntry(reading_, line.problem);
        }
        return 0;
    case LineKind::OutOfMemory:
        noteOutOfMemory();
        return 0;
    case LineKind::Entry:
        addEntry(line.key, line.keyLength, line.output, line.outputLength);
        return 1;
    case LineKind::OutputOverride:
        ++lineCounts_.includeLines;
        setOverride(outputPathOverride_, line.argument);
        return 0;
    case LineKind::IdOverride:
        ++lineCounts_.includeLines;
        setOverride(idOverride_, line.argument);
        return 0;
    case LineKind::Include:
        ++lineCounts_.includeLines;
        includeFile(line.argument);
        return 1;
    }
    return 0;
}

void TableCompiler::setOverride(TextBuffer &override, const char *value)
{
    if (!override.set(value))
        noteOutOfMemory();
}

void TableCompiler::includeNotRead(LineProblemReason reason, const char *path)
{
    problems_.lineMadeNoEntry(reading_, reason, problems_.addFile(path));
}

bool TableCompiler::isIncludeLine(const char *line)
{
    if (std::strncmp(line, "#include", 8) != 0)
        return false;
    // Classified as the editor would, on a copy: only an include line with its argument counts.
    if (!probeLine_.set(line)) {
        noteOutOfMemory();
        return false;
    }
    // Every include form leaves its argument; a word alone after "#include" is none.
    return classifyLine(probeLine_.data(), columns_).argument != nullptr;
}

namespace {

LineProblemReason notRegular(os::FileKind kind)
{
    switch (kind) {
    case os::FileKind::Directory:
        return LineProblemReason::IncludeIsDirectory;
    case os::FileKind::NamedPipe:
        return LineProblemReason::IncludeIsNamedPipe;
    default:
        return LineProblemReason::IncludeIsDevice;
    }
}

} // namespace

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
    os::FileKind kind = os::FileKind::Regular;
    if (!reader->openForReading(path, &kind)) {
        if (kind != os::FileKind::Regular) {
            includeNotRead(notRegular(kind), path);
            return 0;
        }
        // "o=x" and "id=" are too short for an override and were taken as a file name.
        const bool shortOverride
            = (path[0] == 'o' && path[1] == '=') || (path[0] == 'i' && path[1] == 'd' && path[2] == '=');
        includeNotRead(shortOverride ? LineProblemReason::OverrideTooShort : LineProblemReason::IncludeNotOpened, path);
        return 0;
    }

    // A file that is already being read further up the include chain would be read forever.
    os::FileIdentity identity;
    const bool identified = os::fileIdentity(reader->file().isOpen(), identity);
    bool readBefore = false;
    if (identified) {
        if ((hasSourceFile_ && identity == sourceFile_)
            || std::find(includeChain_.begin(), includeChain_.end(), identity) != includeChain_.end()) {
            includeNotRead(LineProblemReason::IncludeCycle, path);
            return 0;
        }
        const auto first = std::find_if(filesRead_.begin(), filesRead_.end(),
            [&identity](const FirstRead &read) { return read.identity == identity; });
        readBefore = first != filesRead_.end();
        try {
            if (readBefore) {
                problems_.fileReadAgain(reading_, problems_.addFile(path), first->includeLine);
            } else {
                filesRead_.push_back(FirstRead { identity, reading_ });
                if (!inputs_.add(identity, path))
                    throw std::bad_alloc();
            }
            includeChain_.push_back(identity);
        } catch (const std::bad_alloc &) {
            noteOutOfMemory();
            return 0;
        }
    }

    const ReadingPlace includeLine = reading_;
    reading_.file = problems_.addFile(path);
    if (readBefore)
        problems_.beginRereading(sequence_);
    TextBuffer line;
    std::string filtered;
    while (!stopped() && reader->nextLine(line)) {
        reading_.line = reader->lineNumber();
        if (includeLineFilter_) {
            filtered.assign(line.get());
            if (!includeLineFilter_(path, reading_.line, filtered))
                continue;
            if (!line.set(filtered.c_str())) {
                noteOutOfMemory();
                break;
            }
        }
        // Every line that starts with '#' is passed over: only an indented include line in an
        // included file is followed.
        if (line.get()[0] == '#') {
            ++lineCounts_.includeLines;
            if (isIncludeLine(line.get()))
                problems_.lineMadeNoEntry(reading_, LineProblemReason::IncludeAtLineStart);
            continue;
        }
        compileLine(line);
        progressStep();
    }
    if (reader->outOfMemory())
        noteOutOfMemory();
    if (readBefore)
        problems_.endRereading(sequence_);
    reading_ = includeLine;
    if (identified)
        includeChain_.pop_back();
    reader->closeFile();
    return entries_.count() - countBefore;
}

void TableCompiler::addEntry(const char *key, const char *output)
{
    addEntry(key, std::strlen(key), output, std::strlen(output));
}

void TableCompiler::addEntry(const char *key, std::size_t keyLength, const char *output, std::size_t outputLength)
{
    if (keyLength > kMaxKeyBytes)
        return;
    const std::size_t size = keyLength + outputLength + 2;
    if (size > kMaxEntryBlock) {
        problems_.lineMadeNoEntry(reading_, LineProblemReason::EntryTooLong);
        return;
    }
    // The entry's record in the table's body is as long as its block.
    if (entries_.count() >= maxEntries_ || bodyBytes_ + size > maxBodyBytes_) {
        tableFull_ = true;
        problems_.lineMadeNoEntry(reading_, LineProblemReason::TableFull);
        return;
    }
    char *block = texts_.allocate(size);
    if (!block) {
        noteOutOfMemory();
        return;
    }
    std::memcpy(block, key, keyLength);
    block[keyLength] = 0;
    std::memcpy(block + keyLength + 1, output, outputLength);
    block[size - 1] = 0;
    if (!entries_.append(Entry { sequence_, block, keyLength, outputLength })) {
        noteOutOfMemory();
        return;
    }
    problems_.entryStored(reading_);
    bodyBytes_ += size;
    ++sequence_;
}

namespace {

// The entry order for one key order, compiled per order so that the comparison is inlined.
template <TableOrder::Kind Order> void sortWith(EntryList &entries)
{
    for (Entry &entry : entries)
        prepareForSort<Order>(entry);
    sortEntryRange(entries.begin(), 0, entries.count(),
        [](const Entry &x, const Entry &y) { return compareEntries<Order>(x, y); });
}

} // namespace

void TableCompiler::sortEntries()
{
    switch (order_.kind()) {
    case TableOrder::Kind::Ty:
        sortWith<TableOrder::Kind::Ty>(entries_);
        break;
    case TableOrder::Kind::Py:
        sortWith<TableOrder::Kind::Py>(entries_);
        break;
    case TableOrder::Kind::Ib:
        sortWith<TableOrder::Kind::Ib>(entries_);
        break;
    }
}

std::int32_t TableCompiler::orderAndSort(char digit)
{
    setOrder(digit);
    // Before the sort, while an entry's index is its sequence number.
    problems_.findDuplicates(entries_);
    sortEntries();
    return 1;
}

std::int32_t TableCompiler::write(const char *path, const char *id)
{
    if (outputPathOverride_.hasValue())
        path = outputPathOverride_.get();
    if (idOverride_.hasValue())
        id = idOverride_.get();
    lastWrite_ = TableWriteReport {};
    try {
        lastWrite_.path = path ? path : "";
    } catch (const std::bad_alloc &) {
    }
    if (outOfMemory_) {
        lastWrite_.failure = TableWriteFailure::OutOfMemory;
        return 0;
    }
    if (tableFull_) {
        lastWrite_.failure = TableWriteFailure::TooLarge;
        return 0;
    }
    // An "o=" line, or the caller, may name the data file or an include file.
    if (const std::string *input = inputs_.inputAt(path)) {
        lastWrite_.failure = TableWriteFailure::OutputIsInput;
        try {
            lastWrite_.input = *input;
        } catch (const std::bad_alloc &) {
        }
        return 0;
    }
    const TableImage image { entries_.begin(), entries_.count(), id, order_ };
    lastWrite_.failure = writeTableFile(path, image, lastWrite_);
    lastWrite_.written = lastWrite_.failure == TableWriteFailure::None;
    return lastWrite_.written ? 1 : 0;
}

} // namespace kpx
