#include "ITreeEntity.h"

namespace Tavorin {

ITreeEntity::ITreeEntity(const QString& name, QObject* parent)
    : QObject(parent)
    , name_(name)
{
}

ITreeEntity::~ITreeEntity() = default;

void ITreeEntity::setName(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    emit nameChanged(name_);
}

void ITreeEntity::setVisibleInTree(bool visible)
{
    if (visible == visibleInTree_)
        return;
    visibleInTree_ = visible;
    emit visibleInTreeChanged(visible);
}

} // namespace Tavorin
