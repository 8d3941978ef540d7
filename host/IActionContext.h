#pragma once
// What the mouse last acted on in a view: the view that does the picking records the hit here,
// and whoever started the pick reads it back.

#include <QObject>
#include <QPointer>

namespace Tavorin {

class IMesh;
class ITreeEntity;

class IActionContext : public QObject {
    Q_OBJECT
public:
    explicit IActionContext(QObject* parent = nullptr);

    // The object hit by the last pick as a mesh; null when nothing, or something else, was hit.
    IMesh* GetPtr() const;
    // The object hit by the last pick, whatever it is; null when nothing was hit.
    ITreeEntity* entity() const;
    void setPtr(ITreeEntity* hit);

signals:
    void ptrChanged(Tavorin::ITreeEntity* hit);

private:
    QPointer<ITreeEntity> hit_;
};

} // namespace Tavorin
