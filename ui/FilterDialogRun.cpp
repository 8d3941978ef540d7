// What Apply and OK run. The grid filter operations are not part of the module yet, so nothing runs.

#include "FilterDialog.h"

namespace Tavorin {

void IFilterDialog::filter()
{
}

} // namespace Tavorin
