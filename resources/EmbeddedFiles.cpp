// Registration of the embedded files (see EmbeddedFiles.h for why it is explicit).
#include "resources/EmbeddedFiles.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerFocarisFiles()
{
    Q_INIT_RESOURCE(focaris_files);
}

namespace focaris::resources {

void ensureRegistered()
{
    static std::once_flag once;
    std::call_once(once, registerFocarisFiles);
}

} // namespace focaris::resources
