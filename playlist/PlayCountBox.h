#pragma once

#include <QSpinBox>

namespace korvel {

// The play count field: 1..99, at most two characters typed. Its value is its text read as
// a whole number, 1 when the text is not one, so a half-typed "0" counts as 0 until the box
// loses the focus; then, as for a value set from code, it is clamped into 1..99. It shows
// and takes ASCII digits in every locale, as the list stores counts.
class PlayCountBox : public QSpinBox {
    Q_OBJECT

public:
    static constexpr int Minimum = 1;
    static constexpr int Maximum = 99;

    explicit PlayCountBox(QWidget* parent = nullptr);

    // The text read as a whole number; 1 when it is not a number.
    int textValue() const;

signals:
    // The shown text changed: typed (also half-typed, as "" or "0"), set from code, or
    // stepped by the arrows.
    void shownTextChanged();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    // The arrows, drawn over the dark buttons of the style sheet.
    void paintEvent(QPaintEvent* event) override;

private:
    void noteText();

    QString m_shown;
};

} // namespace korvel
