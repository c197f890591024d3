#pragma once
// The painted caption strip across the top of a window's client area: a colour gradient with the
// window's icon and up to three texts (product, application name, caption), each in its own font
// and colours. It also keeps the window's real title equal to its visible texts joined, so the
// desktop's own title bar and task bar show the same words. The desktop keeps its frame, title
// and buttons; the strip only paints, and a double click on it maximises as a title bar would.

#include "windows/captionmath.h"

#include <QFont>
#include <QWidget>

#include <functional>

class CaptionBar : public QWidget
{
    Q_OBJECT

public:
    enum class FontKind { Custom, System, SystemItalic, SystemBold, SystemBoldItalic, AutoHeight };
    enum class Justification { Auto, Left, Center, Right };
    using Part = captionmath::TextPartIndex;
    // Called after the background is painted and before the texts, with the text rectangle.
    using DrawHook = std::function<void(QPainter&, const QRect&)>;

    // Attaches to `window`: the strip takes the top of its client area, whose controls move below.
    explicit CaptionBar(QWidget* window);

    QString partCaption(Part part) const { return m_parts[part].caption; }
    bool partVisible(Part part) const { return m_parts[part].visible; }
    void setPartCaption(Part part, const QString& caption);
    void setPartVisible(Part part, bool visible);
    // Assigning a font makes the part's kind Custom.
    void setPartFont(Part part, const QFont& font);
    void setPartFontKind(Part part, FontKind kind);
    QFont partFont(Part part) const { return m_parts[part].font; }
    // An invalid colour stands for the system's caption-text colour of that state.
    void setPartColors(Part part, const QColor& active, const QColor& inactive);

    void setLeftColors(const QColor& active, const QColor& inactive);
    // An invalid colour stands for the system's caption colour of that state.
    void setRightColors(const QColor& active, const QColor& inactive);
    void setGradientMode(captionmath::GradientMode mode);
    void setJustification(Justification justification);
    int bandCount() const { return m_bandCount; }
    void setBandCount(int count);
    void setDrawHook(DrawHook hook);

    // Shown or not: a hidden strip gives the window's whole client area back to its controls.
    void setStripShown(bool shown);
    bool stripShown() const { return m_shown; }
    // Shows or hides every strip of the program, and those made later (a tiling desktop has
    // titles enough).
    static void setAllStripsShown(bool shown);
    static bool allStripsShown();
    // The strip's height for the system caption font.
    static int stripHeight();
    // The fonts of the system caption (the title-bar font, bold as title bars show it).
    static QFont systemCaptionFont();

    // The colours the strip uses, for a window active or not.
    QColor leftColor(bool active) const;
    QColor rightColor(bool active) const;
    QColor textColor(Part part, bool active) const;
    // The system's caption-text colour of a window active or not.
    static QColor systemTextColor(bool active);
    // The texts as drawn at the strip's present width, cut with an ellipsis where they do not fit.
    QStringList drawnTexts() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextPart
    {
        QString caption;
        bool visible = true;
        QColor colorActive;
        QColor colorInactive;
        QFont font;
        FontKind kind = FontKind::System;
    };

    struct DrawnText
    {
        Part part;
        QRect rect;
        QString text;
    };

    QRect textArea() const;
    QList<DrawnText> layOutTexts(const QRect& textRect) const;
    void recomposeTitle();
    void applyFontKinds();
    void placeInWindow();
    bool windowActive() const;
    captionmath::TextParts partStates() const;

    QWidget* m_window;
    std::array<TextPart, captionmath::TextPartCount> m_parts;
    QColor m_leftActive = Qt::black;
    QColor m_leftInactive = Qt::black;
    QColor m_rightActive;
    QColor m_rightInactive;
    captionmath::GradientMode m_mode = captionmath::GradientMode::Smart;
    Justification m_justification = Justification::Auto;
    int m_bandCount = captionmath::DefaultBandCount;
    DrawHook m_drawHook;
    bool m_shown = true;
};
