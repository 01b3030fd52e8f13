#include "controls/CHyperLink.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <utility>

#include "controls/FittedRect.h"
#include "controls/HyperLinkAccessible.h"
#include "controls/MessageBoxSink.h"
#include "controls/OpenErrorText.h"
#include "controls/SystemUrlOpener.h"
#include "platform/OpenResult.h"
#include "platform/UrlOpener.h"

namespace {

EdgeRect ToEdgeRect(const QRect& rect) {
    return EdgeRect{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect ToQRect(const EdgeRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

std::uint32_t StaticStyleOf(Qt::Alignment alignment) {
    std::uint32_t style = 0;
    if (alignment & Qt::AlignHCenter) {
        style |= kCenter;
    } else if (alignment & Qt::AlignRight) {
        style |= kRight;
    }
    if (alignment & Qt::AlignVCenter) {
        style |= kCenterImage;
    }
    return style;
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
    const ColorRef color =
        LinkTextColor(LinkColors{m_linkColor, m_visitedColor, m_hoverColor}, m_hovering, m_visited);
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
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
    painter.fillRect(rect(), palette().color(QPalette::Button));
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
    const platform::OpenResult result = OpenUrl(m_url);
    m_visited = result.Succeeded();
    if (!m_visited) {
        if (m_beep) {
            m_beep();
        }
        ShowOpenError(result);
    } else {
        update();
    }
}

platform::OpenResult CHyperLink::OpenUrl(const std::string& url) {
    return platform::OpenWebLink(m_opener ? *m_opener : SystemUrlOpener(), url);
}

void CHyperLink::ShowOpenError(const platform::OpenResult& result) {
    platform::MessageSink& sink = m_messages ? *m_messages : MessageBoxSink::Instance();
    sink.ShowMessage(platform::MessageIcon::Exclamation, OpenErrorMessage(result));
}

void CHyperLink::FitToText() {
    if (!m_attached || !m_fitToText) {
        return;
    }
    const QRect window = geometry();
    const QRect client = contentsRect().translated(window.topLeft());
    const QFontMetrics metrics(m_underlineFont);
    const TextExtent extent{metrics.horizontalAdvance(text()), metrics.height()};
    setGeometry(ToQRect(
        FittedRect(ToEdgeRect(window), ToEdgeRect(client), extent, StaticStyleOf(alignment()))));
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
