#pragma once
// The "Pick object" mode: the next object the user clicks in a view is recorded in the current
// view's mouse-action context, and the mode ends (its stack announces it with stackAboutToPop).

#include "Mode.h"

namespace Tavorin {

class IPickObjectMode : public Mode {
    Q_OBJECT
public:
    static constexpr const char* Name = "Pick object";

    explicit IPickObjectMode(QObject* parent = nullptr);

    void objectPicked(ITreeEntity* hit) override;

protected:
    // An earlier pick must not be mistaken for this one's result.
    void activated() override;
};

} // namespace Tavorin
