#include "controls/CHyperLink.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTextDocument>
#include <utility>

#include "controls/HyperLinkAccessible.h"
#include "controls/MessageBoxSink.h"
#include "controls/OpenErrorText.h"
#include "controls/ReadableColor.h"
#include "controls/SystemUrlOpener.h"
#include "platform/OpenResult.h"
#include "platform/UrlOpener.h"

namespace {

enum class Keep { Start, Centre, End };

// One side of the link, `length` pixels from `start`, fitted to `extent`:
// it keeps its start, its end, or its centre. A centred side moves each end
// by half the difference, rounded toward zero.
std::pair<int, int> FitSide(int start, int length, int extent, Keep keep) {
    switch (keep) {
        case Keep::Start: break;
        case Keep::End: return {start + length - extent, extent};
        case Keep::Centre: {
            const int shift = (length - extent) / 2;
            return {start + shift, length - 2 * shift};
        }
    }
    return {start, extent};
}

QString ToolTipFor(const std::string& url) {
    QString text = QString::fromStdString(url);
    if (text.size() > CHyperLink::kMaxToolTipLength) {
        text = text.left(CHyperLink::kMaxToolTipLength - 3) + QStringLiteral("...");
    }
    // A tooltip that looks like markup would be rendered as markup; an
    // address is always shown as the characters it is made of.
    if (Qt::mightBeRichText(text)) {
        text = QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
               QStringLiteral("</p>");
    }
    return text;
}

}  // namespace

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    // A link's text is its address or a plain caption, never markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_hoverTimer.setInterval(kHoverPollInterval);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CHyperLink::OnTimer);
    m_beep = [] { QApplication::beep(); };
    HyperLinkAccessible::Install();
}

CHyperLink::~CHyperLink() = default;

void CHyperLink::PreSubclassWindow() {
    // A second attachment would copy the fonts from a font that may already
    // be the underlined copy.
    if (m_attached) {
        return;
    }
    m_attached = true;
    setMouseTracking(true);  // moves arrive without a button held
    if (m_url.empty()) {
        m_url = text().toStdString();
    }
    if (text().isEmpty()) {
        setText(QString::fromStdString(m_url));
    }
    m_normalFont = font();
    m_underlineFont = font();
    m_underlineFont.setUnderline(true);
    FitToText();
    LoadHandCursor();
    SetUnderlineMode(kUnderlineWhileHovered);
    SetToolTipText();
}

void CHyperLink::SetTargetUrl(const std::string& url) {
    m_url = url;
    if (m_attached) {
        FitToText();
        SetToolTipText();
    }
}

void CHyperLink::SetUnderlineMode(int mode) {
    if (mode == m_underlineMode) {
        return;
    }
    if (m_attached) {
        setFont(mode == kUnderlineAlways ? m_underlineFont : m_normalFont);
        update();
    }
    m_underlineMode = mode;
}

void CHyperLink::SetOpener(platform::UrlOpener& opener) {
    m_opener = &opener;
}

void CHyperLink::SetMessageSink(platform::MessageSink& sink) {
    m_messages = &sink;
}

void CHyperLink::SetBeep(std::function<void()> beep) {
    m_beep = std::move(beep);
}

QColor CHyperLink::TextColor() const {
    // Hovering wins over visited, so the pointer always shows what it is on.
    // The palette's highlight is often the link colour itself, so a
    // readable red marks the hover instead.
    const QColor background = BackgroundColor();
    if (m_hovering) {
        return ReadableColor(background, {m_hoverColor});
    }
    if (m_visited) {
        return ReadableColor(background, {m_visitedColor, palette().color(QPalette::LinkVisited)});
    }
    return ReadableColor(background, {m_linkColor, palette().color(QPalette::Link)});
}

QColor CHyperLink::BackgroundColor() const {
    const QWidget* window = parentWidget() != nullptr ? parentWidget() : this;
    return window->palette().color(QPalette::Window);
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event) {
    if (m_attached) {
        OnMouseMove();
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left button pressed and released on the link.
    if (m_attached && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        OnClicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::paintEvent(QPaintEvent* event) {
    if (!m_attached) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    OnEraseBkgnd(painter);
    painter.setPen(TextColor());
    painter.setFont(font());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void CHyperLink::OnEraseBkgnd(QPainter& painter) {
    painter.fillRect(rect(), BackgroundColor());
}

void CHyperLink::OnMouseMove() {
    if (m_hovering) {
        return;
    }
    m_hovering = true;
    if (m_underlineMode == kUnderlineWhileHovered) {
        setFont(m_underlineFont);
    }
    update();
    m_hoverTimer.start();
}

void CHyperLink::OnTimer() {
    if (rect().contains(mapFromGlobal(QCursor::pos()))) {
        return;
    }
    m_hovering = false;
    m_hoverTimer.stop();
    if (m_underlineMode != kUnderlineAlways) {
        setFont(m_normalFont);
    }
    update();
}

void CHyperLink::OnClicked() {
    // The visited colour must show at once, even under the pointer; the next
    // move brings the hover colour back. The timer keeps polling meanwhile.
    m_hovering = false;
    OpenUrl(m_url);
}

void CHyperLink::OpenUrl(const std::string& url) {
    // The outcome may come from the event loop, once the desktop's opener has
    // ended; a link that is gone by then has nothing to show.
    platform::OpenWebLink(
        m_opener ? *m_opener : SystemUrlOpener(), url,
        [link = QPointer<CHyperLink>(this)](const std::optional<platform::OpenResult>& failure) {
            if (link) {
                link->OnOpened(failure);
            }
        });
}

void CHyperLink::OnOpened(const std::optional<platform::OpenResult>& failure) {
    m_visited = !failure;
    if (failure) {
        if (m_beep) {
            m_beep();
        }
        ShowOpenError(*failure);
    } else {
        update();
    }
}

void CHyperLink::ShowOpenError(const platform::OpenResult& failure) {
    platform::MessageSink& sink = m_messages ? *m_messages : MessageBoxSink::Instance();
    sink.ShowMessage(platform::MessageIcon::Exclamation, OpenErrorMessage(failure));
}

void CHyperLink::FitToText() {
    if (!m_attached || !m_fitToText) {
        return;
    }
    const QFontMetrics metrics(m_underlineFont);
    const QSize fitted =
        QSize(metrics.horizontalAdvance(text()), metrics.height()) + size() - contentsRect().size();
    const Qt::Alignment align = alignment();
    const Keep horizontal = (align & Qt::AlignHCenter) ? Keep::Centre
                            : (align & Qt::AlignRight) ? Keep::End
                                                       : Keep::Start;
    const Keep vertical = (align & Qt::AlignVCenter) ? Keep::Centre : Keep::Start;
    const QRect current = geometry();
    const auto [x, width] = FitSide(current.x(), current.width(), fitted.width(), horizontal);
    const auto [y, height] = FitSide(current.y(), current.height(), fitted.height(), vertical);
    setGeometry(x, y, width, height);
}

void CHyperLink::LoadHandCursor() {
    if (!m_linkCursor) {
        m_linkCursor = QCursor(Qt::PointingHandCursor);
    }
    setCursor(*m_linkCursor);
}

void CHyperLink::SetToolTipText() {
    setToolTip(ToolTipFor(m_url));
}
