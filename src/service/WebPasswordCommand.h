#pragma once

#include <QString>

// `ivrelane --web-password`: reads the web page's password (from the terminal without echo, or
// one line of standard input when it is not a terminal) and keeps its salted hash as
// WEBPASSWORD= in the folder's configuration, the file's other lines left as they are. Refused
// while a copy runs in the folder: it writes its own configuration over the file when it quits.
namespace WebPasswordCommand {

int run(const QString &folder);

} // namespace WebPasswordCommand
