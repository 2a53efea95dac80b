#pragma once

#include <QString>

// The versions file published on the maker's site: lines of "product=version". Widget-free so
// the rules are tested on their own.
namespace VersionCheckFile {

// Comparable value of a dotted version text: only the first character of each of the first
// three components counts ("2.1.4" gives 214, "2.10" 210, "2..4" 204, "3" 300, "" 0). Reading
// stops, keeping the sum so far, at the first character that should be a digit and is not.
int versionValue(const QString &text);

// The version published for `key` in the downloaded file at `path`, or an empty text. The file
// is deleted once read, except when it is empty; a web page served in its place ("<" among the
// first three bytes) or an unreadable file is deleted too. The key must match exactly, case and
// blanks included, up to the first "=" of the line.
QString latestVersion(const QString &path, const QString &key);

} // namespace VersionCheckFile
