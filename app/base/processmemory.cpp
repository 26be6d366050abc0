#include "processmemory.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace Panelcast {

bool declineHugePages()
{
#if defined(Q_OS_LINUX) && defined(PR_SET_THP_DISABLE)
    return prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0) == 0;
#else
    return false;
#endif
}

} // namespace Panelcast
