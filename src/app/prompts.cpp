#include "app/prompts.h"

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>

namespace {
WidgetPrompts defaultPrompts;
Prompts* installed = &defaultPrompts;
} // namespace

Prompts& Prompts::current()
{
    return *installed;
}

Prompts* Prompts::install(Prompts* prompts)
{
    Prompts* previous = installed;
    installed = prompts ? prompts : &defaultPrompts;
    return previous;
}

Prompts::Answer WidgetPrompts::question(const QString& title, const QString& text)
{
    const auto button =
        QMessageBox::question(QApplication::activeWindow(), title, text,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

void WidgetPrompts::warning(const QString& title, const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), title, text);
}

void WidgetPrompts::error(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quillet"), text);
}

std::optional<QFont> WidgetPrompts::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return font;
}
