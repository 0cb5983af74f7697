#include "iviewsnapshot.h"

namespace Korvessa {
DEF_CLASS_IID (IViewSnapshot)
}
