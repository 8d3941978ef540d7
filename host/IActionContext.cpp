#include "IActionContext.h"

#include "IMesh.h"

namespace Tavorin {

IActionContext::IActionContext(QObject* parent)
    : QObject(parent)
{
}

IMesh* IActionContext::GetPtr() const
{
    return qobject_cast<IMesh*>(hit_.data());
}

ITreeEntity* IActionContext::entity() const
{
    return hit_.data();
}

void IActionContext::setPtr(ITreeEntity* hit)
{
    hit_ = hit;
    emit ptrChanged(hit);
}

} // namespace Tavorin
