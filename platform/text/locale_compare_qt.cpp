// SPDX-License-Identifier: GPL-2.0-or-later
// The user locale's order as ICU has it, through QCollator. Like the system comparison it
// stands in for, it says "A" equals "a"; glibc's strcoll would not.
#include <mutex>
#include <optional>

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringView>

#include "platform/text/locale_compare.h"

namespace kpx {
namespace {

// A collator is costly to set up and Sort compares thousands of times, so one is kept until the
// locale is changed.
struct CollatorCache {
    std::mutex mutex;
    QString localeName; // empty: the user's default
    std::optional<QCollator> collator;
};

CollatorCache &collatorCache()
{
    static CollatorCache cache;
    return cache;
}

QStringView viewOf(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

int compareLocaleIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    CollatorCache &cache = collatorCache();
    const std::lock_guard lock(cache.mutex);
    if (!cache.collator) {
        const QLocale locale = cache.localeName.isEmpty() ? QLocale::system() : QLocale(cache.localeName);
        cache.collator.emplace(locale);
        cache.collator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    return cache.collator->compare(viewOf(a), viewOf(b));
}

void setCollationLocaleForTesting(std::string_view localeName)
{
    CollatorCache &cache = collatorCache();
    const std::lock_guard lock(cache.mutex);
    cache.localeName = QString::fromUtf8(localeName.data(), static_cast<qsizetype>(localeName.size()));
    cache.collator.reset();
}

} // namespace kpx
