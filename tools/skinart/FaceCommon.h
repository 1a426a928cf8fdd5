#pragma once

#include "tools/skinart/ButtonPainter.h"
#include "tools/skinart/SkinLayout.h"

#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <map>

class QPainter;

namespace korvel::skinart {

// What each button of a skin shows, by element name.
using ButtonArtTable = std::map<QString, ButtonArt>;

// A blank face of the layout's size to paint on.
QImage blankFace(const SkinLayout& layout);

// A whole face: the body, then the face's own parts (trays, panels, labels), then its buttons
// (all lit or none) and the outline over everything.
QImage paintFace(const SkinLayout& layout, const ButtonArtTable& buttons, bool lit,
                 const std::function<void(QPainter&)>& parts);

// The graphite body: vertical gradient with a sheen along the top.
void paintBody(QPainter& painter, const QRect& face);

// The window's one-pixel outline, drawn last over everything.
void paintOutline(QPainter& painter, const QRect& face);

// A dark recessed panel (displays, edit boxes, the list grid) of the given outline.
void paintInset(QPainter& painter, const QPainterPath& outline);

// The buttons of the layout, every one of them lit or none; a hot area that the table does
// not describe raises KorvelError, so a new element cannot go unpainted.
void paintButtons(QPainter& painter, const SkinLayout& layout, const ButtonArtTable& table,
                  bool lit);

// The rectangle spanned by the named hot areas.
QRect spanOf(const SkinLayout& layout, std::initializer_list<QStringView> ids);

} // namespace korvel::skinart
