#pragma once

#include <QString>

// The maker's web site: shown in the information window, named in the new-version notice and
// asked for the versions file.
inline QString makerSiteAddress()
{
    return QStringLiteral("http://www.ivrelane.org");
}
