#pragma once

#include <functional>

class QObject;
class QUrl;

// Opens a document with the desktop's handler (xdg-open, or Qt's own desktop services where it
// is missing). `failed` runs, possibly later, when no program could open it: xdg-open reports
// that by its exit status only after it has looked for one.
void openDocument(const QUrl &url, QObject *owner, const std::function<void()> &failed);
