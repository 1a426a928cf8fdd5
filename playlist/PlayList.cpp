#include "playlist/PlayList.h"

#include "app/ErrorBox.h"
#include "skin/SkinForm.h"

namespace korvel {

TForm2::TForm2() : QWidget(nullptr, Qt::Window), m_skinForm(new TSkinForm(this)) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Korvel playlist"));
    resize(600, 200);
    m_skinForm->setKeyColor(0xFFFFFF);
    m_skinForm->setTolerance(0);
    m_skinForm->pointer().OnMouseUpNotify = [this](const QString& id, Qt::MouseButton button,
                                                   ShiftState shift, int x, int y) {
        SkinForm1MouseUpNotify(id, button, shift, x, y);
    };
    ErrorBox::run([this] { FormCreate(); });
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() { m_skinForm->LoadSkin(QStringLiteral("ListSkin")); }

void TForm2::SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState,
                                    int, int) {
    if (button != Qt::LeftButton) return;
    emit commandReleased(id);
}

} // namespace korvel
