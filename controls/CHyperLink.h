// A static text that behaves as a web link: drawn in link colours, underlined
// while the pointer is over it (or always), with a pointing-hand cursor and
// its address as tooltip. A click hands the address to the desktop; a failure
// is reported with a beep and a message naming the cause.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QPainter;

namespace platform {
class MessageSink;
struct OpenResult;
class UrlOpener;
}  // namespace platform

// A dialog builds the link from its layout like any static text (text,
// geometry, font, alignment; left and top aligned unless it says otherwise)
// and then attaches it with PreSubclassWindow(). Only an attached link reacts
// to the pointer and fits itself to its text.
class CHyperLink : public QLabel {
    Q_OBJECT

public:
    static constexpr int kUnderlineWhileHovered = -1;
    static constexpr int kUnderlineAlways = 1;
    // Any other mode never underlines.
    static constexpr std::chrono::milliseconds kHoverPollInterval{100};
    // Longer addresses are shown shortened in the tooltip; a tooltip of many
    // thousand characters would cover the screen.
    static constexpr int kMaxToolTipLength = 1024;

    explicit CHyperLink(QWidget* parent = nullptr);
    ~CHyperLink() override;

    // Attaches the link: the address is taken from the text when none was
    // set, the text from the address when it is empty; the plain and the
    // underlined font are copied from the current font; the link is fitted
    // to its text, gets its cursor and its tooltip, and its underline mode
    // goes back to kUnderlineWhileHovered. A link is attached once; later
    // calls change nothing.
    void PreSubclassWindow();

    // Stores the address; an attached link fits itself to its text again and
    // shows the new address as its tooltip.
    void SetTargetUrl(const std::string& url);
    // A mode equal to the current one changes nothing and repaints nothing.
    void SetUnderlineMode(int mode);

    // Where a click goes and how a failure is reported; the defaults are the
    // desktop's services, a message box and the system's beep. The objects
    // must outlive the link.
    void SetOpener(platform::UrlOpener& opener);
    void SetMessageSink(platform::MessageSink& sink);
    void SetBeep(std::function<void()> beep);

    const std::string& TargetUrl() const { return m_url; }
    int UnderlineMode() const { return m_underlineMode; }
    bool IsAttached() const { return m_attached; }
    bool IsHovering() const { return m_hovering; }
    bool IsVisited() const { return m_visited; }
    bool IsHoverTimerActive() const { return m_hoverTimer.isActive(); }
    // The colour the text is drawn in at the next repaint, readable on the
    // background it is drawn on.
    QColor TextColor() const;
    // The colour of the window the link sits in, which the link paints
    // behind its text.
    QColor BackgroundColor() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Its press action is a click.
    friend class HyperLinkAccessible;

    void OnMouseMove();
    void OnTimer();
    void OnClicked();
    void OnEraseBkgnd(QPainter& painter);
    void OpenUrl(const std::string& url);
    // `failure`: why the address could not be opened; nothing once it was.
    void OnOpened(const std::optional<platform::OpenResult>& failure);
    void ShowOpenError(const platform::OpenResult& failure);
    void FitToText();
    void LoadHandCursor();
    void SetToolTipText();

    // Used wherever they are readable; on dark backgrounds the palette's
    // link colours or a lighter colour take their place.
    QColor m_linkColor{0, 0, 238};
    QColor m_visitedColor{85, 26, 139};
    QColor m_hoverColor{255, 0, 0};
    bool m_hovering = false;
    bool m_visited = false;
    int m_underlineMode = kUnderlineWhileHovered;
    bool m_fitToText = true;
    std::string m_url;
    QFont m_underlineFont;
    QFont m_normalFont;
    std::optional<QCursor> m_linkCursor;
    // Polls for the pointer's leaving while it is over the link; the link
    // neither grabs the mouse nor asks for leave notices.
    QTimer m_hoverTimer;
    bool m_attached = false;

    platform::UrlOpener* m_opener = nullptr;      // none: the desktop's services
    platform::MessageSink* m_messages = nullptr;  // none: a message box
    std::function<void()> m_beep;
};
