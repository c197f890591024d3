#include "clipbook/clipbook.h"

TClipBook* ClipBook = nullptr;

TClipBook::TClipBook(QWidget* parent)
    : TForm(QStringLiteral("ClipBook"), QStringLiteral("ClipBook"), QSize(298, 343), false, parent,
            {QStringLiteral("ClipBook"),
             TFormPlacement::fpState | TFormPlacement::fpPosition | TFormPlacement::fpActiveControl})
{}
