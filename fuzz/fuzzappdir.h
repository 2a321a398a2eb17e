#pragma once

#include "core/clientserviceinfo.h"

#include <QString>

// A client state whose app directory is a private temporary folder (in memory where the system
// offers one), made once per fuzzing process.
class FuzzAppDir
{
public:
    static const QString &path();
    // A fresh client state on that folder, as a start of the client makes it.
    static void initialize(TClientServiceInfo &info);
};
