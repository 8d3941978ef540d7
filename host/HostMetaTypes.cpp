// Pointer types that travel in the host's signals, registered when the library is loaded so that
// queued connections and signal spies can carry them. Signals of ModeStack name their argument
// "Mode*", the way clients connect to them by signature.
#include "IBaseData.h"
#include "IMesh.h"
#include "IWorld.h"
#include "Mode.h"

#include <QMetaType>

namespace {

const bool registered = [] {
    qRegisterMetaType<Tavorin::Mode*>("Mode*");
    qRegisterMetaType<Tavorin::Mode*>("Tavorin::Mode*");
    qRegisterMetaType<Tavorin::IMesh*>("Tavorin::IMesh*");
    qRegisterMetaType<Tavorin::IBaseData*>("Tavorin::IBaseData*");
    qRegisterMetaType<Tavorin::IWorld*>("Tavorin::IWorld*");
    return true;
}();

} // namespace
