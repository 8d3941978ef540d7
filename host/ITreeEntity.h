#pragma once
// Anything that appears in the host's object tree: meshes, their data items, folders.

#include "IString.h"

#include <QObject>

namespace Tavorin {

class ITreeEntity : public QObject {
    Q_OBJECT
public:
    explicit ITreeEntity(const QString& name, QObject* parent = nullptr);
    ~ITreeEntity() override;

    IString Name() const { return name_; }
    void setName(const QString& name);

    // Hidden entities stay in the world but are left out of the tree and of choice lists.
    bool isVisibleInTree() const { return visibleInTree_; }
    void setVisibleInTree(bool visible);

signals:
    void nameChanged(const QString& name);
    void visibleInTreeChanged(bool visible);

private:
    IString name_;
    bool visibleInTree_ = true;
};

} // namespace Tavorin
