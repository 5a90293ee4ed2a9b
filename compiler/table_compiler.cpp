// SPDX-License-Identifier: GPL-2.0-or-later
// The program's one compiler and the entry points that reach it.
#include "compiler/table_compiler.h"

#include <utility>

#include "compiler/table_compiler_object_p.h"

namespace kpx {
namespace {

TableCompiler &theCompiler()
{
    static TableCompiler compiler;
    return compiler;
}

} // namespace

std::int32_t tc_begin(std::int32_t reserve)
{
    return theCompiler().begin(reserve);
}

void tc_add_line(const char *line)
{
    theCompiler().addLine(line);
}

std::int32_t tc_order_and_sort(char digit)
{
    return theCompiler().orderAndSort(digit);
}

std::int32_t tc_write(const char *path, const char *id)
{
    return theCompiler().write(path, id);
}

std::int32_t tc_count()
{
    return theCompiler().count();
}

bool tc_stopped()
{
    return theCompiler().stopped();
}

const TableWriteReport &tc_last_write()
{
    return theCompiler().lastWrite();
}

const RunProblems &tc_problems()
{
    return theCompiler().problems();
}

void tc_set_source_file(const char *path)
{
    theCompiler().setSourceFile(path);
}

void tc_set_progress_step(std::function<void()> step)
{
    theCompiler().setProgressStep(std::move(step));
}

void tc_set_include_line_filter(IncludeLineFilter filter)
{
    theCompiler().setIncludeLineFilter(std::move(filter));
}

} // namespace kpx
