#pragma once

#include "skin/SkinPointer.h"

#include <QWidget>

namespace korvel {

class TSkinForm;

// The playlist window: a borderless window with the skin "ListSkin". It starts hidden.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    TForm2();
    ~TForm2() override;

    TSkinForm* SkinForm1() const { return m_skinForm; }

    // A release on the face: only left-button releases are commands.
    void SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState shift,
                                int x, int y);

signals:
    // The list's commands are wired to this by the windows that carry them out.
    void commandReleased(const QString& id);

private:
    void FormCreate();

    TSkinForm* m_skinForm;
};

} // namespace korvel
