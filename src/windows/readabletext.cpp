#include "windows/readabletext.h"

#include "core/colourcontrast.h"

#include <QEvent>
#include <QWidget>

namespace {

class ReadableText : public QObject
{
public:
    ReadableText(QWidget* widget, const QColor& designed, QPalette::ColorRole text, QPalette::ColorRole background)
        : QObject(widget), m_widget(widget), m_designed(designed), m_text(text), m_background(background)
    {
        apply();
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Sent once the widget's palette has taken in the application's new one.
        if (watched == m_widget && event->type() == QEvent::PaletteChange)
            apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void apply()
    {
        QPalette palette = m_widget->palette();
        const QColor wanted = colourcontrast::readableOn(m_designed, palette.color(m_background));
        // Setting the same colour again would only send another change.
        if (palette.color(m_text) == wanted && palette.isBrushSet(palette.currentColorGroup(), m_text))
            return;
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, m_text, wanted);
        m_widget->setPalette(palette);
    }

    QWidget* m_widget;
    QColor m_designed;
    QPalette::ColorRole m_text;
    QPalette::ColorRole m_background;
};

} // namespace

void keepTextReadable(QWidget* widget, const QColor& designed, QPalette::ColorRole text, QPalette::ColorRole background)
{
    new ReadableText(widget, designed, text, background);
}
