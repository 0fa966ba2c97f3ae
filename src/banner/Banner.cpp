#include "Banner.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace vexa {

namespace {

/// The maker, shown as the banner's caption.
constexpr const char* kMakerName = "Quillmere Telemetry Works";
/// The credit drawn in the gap of the modal banner's frame.
constexpr const char* kCreditLine = "Built by Quillmere";
constexpr const char* kContactLines =
    "Quillmere Telemetry Works\n"
    "1400 Lantern Ridge Road, Suite 12\n"
    "Brackwater Falls, NV 89012\n"
    "support@quillmere.example";

/// The title's face names its weight and slant, as the faces of the desktop the
/// banner was designed for do. No family here has such a name, and Qt does not
/// follow fontconfig's aliases for a missing family, so the plain family and
/// its metric twin Liberation Serif follow in the list, and bold italic is
/// asked for explicitly so that the stand-in looks as the named face would.
constexpr const char* kTitleFace = "Times New Roman Bold Italic";
constexpr const char* kTitleFamily = "Times New Roman";
constexpr const char* kTitleStandIn = "Liberation Serif";
constexpr int kTitleHeightFactor = 3;

constexpr int kIconSide = 32;
constexpr int kIconTitleGap = 8;
/// Room the title row asks for beyond the title and twice the icon.
constexpr int kTitleRowSpare = 16;
/// The client area's allowance around the content, beyond the window frame.
constexpr int kExtraWidth = 32;
constexpr int kExtraHeight = 67;
constexpr int kMargin = 8;
/// The content starts this far inside the frame.
constexpr int kContentPadding = 8;
/// The band at the bottom of the client area that holds the OK button.
constexpr int kButtonBand = 30;
constexpr int kOkWidth = 65;
constexpr int kOkHeight = 25;
/// Blank room either side of the credit line in the frame's bottom edge.
constexpr int kCreditPadding = 4;

const QColor kTitleColour(0, 0, 255);
const QColor kGrey(128, 128, 128);

/// The banner that is up, if any.
QPointer<Banner> s_banner;

QSize MeasureText(const QFontMetrics& metrics, const QString& text)
{
    if (text.isEmpty())
        return {0, 0};
    return metrics.size(Qt::TextExpandTabs, text);
}

/// Draws the outline of \p rect (edges inclusive), leaving out the columns of
/// \p gap from the bottom edge.
void DrawOutline(QPainter& painter, const QRect& rect, const QRect& gap)
{
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    if (gap.isEmpty()) {
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        return;
    }
    painter.drawLine(rect.bottomLeft(), QPoint(gap.left() - 1, rect.bottom()));
    painter.drawLine(QPoint(gap.right() + 1, rect.bottom()), rect.bottomRight());
}

QString WithContactLines(const QString& text)
{
    QString result = text;
    if (!result.isEmpty() && !result.endsWith(QLatin1Char('\n')))
        result += QLatin1Char('\n');
    return result + BannerContactLines();
}

}  // namespace

bool ShowBanner(const BannerRequest& request)
{
    if (IsBannerUp())
        return false;
    // Parented to its owner, and gone when closed: the modal form is deleted by
    // exec() itself, the modeless one when its close has been processed.
    auto* banner = new Banner(request);
    banner->setAttribute(Qt::WA_DeleteOnClose);
    s_banner = banner;
    if (banner->isTimed()) {
        banner->show();
        return true;
    }
    banner->exec();
    return true;
}

void CloseBanner()
{
    if (!s_banner.isNull())
        s_banner->done(QDialog::Accepted);
}

bool IsBannerUp()
{
    return !s_banner.isNull();
}

QString BannerContactLines()
{
    return QString::fromLatin1(kContactLines);
}

Banner::Banner(const BannerRequest& request)
    : QDialog(request.owner),
      m_icon(request.icon),
      m_title(request.title),
      m_firstText(WithContactLines(request.firstText)),
      m_secondText(request.secondText),
      m_timeoutMs(std::max(request.timeoutMs, 0))
{
    if (!request.bitmap.isEmpty())
        m_bitmap.load(request.bitmap);
    setWindowTitle(QString::fromLatin1(kMakerName));

    m_titleFont.setFamilies({QString::fromLatin1(kTitleFace), QString::fromLatin1(kTitleFamily),
                             QString::fromLatin1(kTitleStandIn)});
    m_titleFont.setStyleHint(QFont::Serif, QFont::PreferQuality);
    m_titleFont.setBold(true);
    m_titleFont.setItalic(true);
    m_titleFont.setPixelSize(kTitleHeightFactor * QFontMetrics(font()).height());

    computeLayout();
    setFixedSize(m_layout.client);
    placeOnScreen();

    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QString::fromLatin1(kOkButtonName));
    m_okButton->setDefault(true);
    m_okButton->setGeometry(m_layout.okButton);
    connect(m_okButton, &QPushButton::clicked, this, &CloseBanner);

    if (isTimed()) {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &CloseBanner);
        m_timer.start(m_timeoutMs);
    }
}

void Banner::done(int result)
{
    m_timer.stop();
    if (s_banner == this)
        s_banner.clear();
    QDialog::done(result);
}

void Banner::computeLayout()
{
    const QFontMetrics textMetrics(font());
    const QFontMetrics titleMetrics(m_titleFont);
    const QSize iconSize = m_icon.isNull() ? QSize(0, 0) : QSize(kIconSide, kIconSide);
    const QSize titleSize(titleMetrics.horizontalAdvance(m_title), titleMetrics.height());
    const QSize bitmapSize = m_bitmap.isNull() ? QSize(0, 0) : m_bitmap.size();
    const QSize firstSize = MeasureText(textMetrics, m_firstText);
    const QSize secondSize = MeasureText(textMetrics, m_secondText);

    Layout& layout = m_layout;
    const int rowHeight = std::max(iconSize.height(), titleSize.height());
    layout.content = QSize(std::max({titleSize.width() + 2 * iconSize.width() + kTitleRowSpare,
                                     bitmapSize.width(), firstSize.width(), secondSize.width()}),
                           rowHeight + bitmapSize.height() + firstSize.height()
                               + secondSize.height());

    // The window's frame and caption come from the style, since the window
    // manager's own are not known before the window is shown.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    layout.window = layout.content + QSize(2 * frame + kExtraWidth, 2 * frame + kExtraHeight + caption);
    layout.client = layout.window - QSize(2 * frame, 2 * frame + caption);
    const int width = layout.client.width();
    const auto centredLeft = [width](int itemWidth) { return (width - itemWidth) / 2; };

    int top = kMargin + kContentPadding;
    const int iconGap = iconSize.isEmpty() ? 0 : kIconTitleGap;
    const int groupLeft = centredLeft(iconSize.width() + iconGap + titleSize.width());
    if (!iconSize.isEmpty())
        layout.icon = QRect(QPoint(groupLeft, top + (rowHeight - iconSize.height()) / 2), iconSize);
    layout.title = QRect(QPoint(groupLeft + iconSize.width() + iconGap,
                                top + (rowHeight - titleSize.height()) / 2),
                         titleSize);
    top += rowHeight;
    if (!bitmapSize.isEmpty())
        layout.bitmap = QRect(QPoint(centredLeft(bitmapSize.width()), top), bitmapSize);
    top += bitmapSize.height();
    layout.firstText = QRect(QPoint(centredLeft(firstSize.width()), top), firstSize);
    top += firstSize.height();
    layout.secondText = QRect(QPoint(centredLeft(secondSize.width()), top), secondSize);

    // The grey outline; the white one, one pixel down and right, still keeps
    // the margin.
    layout.frame = QRect(QPoint(kMargin, kMargin),
                         QPoint(width - kMargin - 2, layout.client.height() - kButtonBand - kMargin - 2));
    layout.okButton = QRect(centredLeft(kOkWidth), layout.client.height() - kButtonBand, kOkWidth, kOkHeight);

    layout.creditGap = QRect();
    if (!isTimed()) {
        const int gapWidth = std::min(textMetrics.horizontalAdvance(QString::fromLatin1(kCreditLine))
                                          + 2 * kCreditPadding,
                                      layout.frame.width() - 2 * kCreditPadding);
        layout.creditGap = QRect(centredLeft(gapWidth), layout.frame.bottom() - textMetrics.height() / 2,
                                 gapWidth, textMetrics.height());
    }
}

void Banner::placeOnScreen()
{
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen()
                                                      : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->geometry();
    move(desktop.left() + (desktop.width() - m_layout.window.width()) / 2,
         desktop.top() + (desktop.height() - m_layout.window.height()) / 2);
}

void Banner::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const Layout& layout = m_layout;
    constexpr Qt::Alignment kTextAlignment = Qt::AlignHCenter | Qt::AlignTop;
    constexpr int kTextFlags = Qt::TextExpandTabs | Qt::TextDontClip;

    painter.setPen(Qt::white);
    DrawOutline(painter, layout.frame.translated(1, 1), layout.creditGap);
    painter.setPen(kGrey);
    DrawOutline(painter, layout.frame, layout.creditGap);
    if (!layout.creditGap.isEmpty())
        painter.drawText(layout.creditGap, Qt::AlignCenter | Qt::TextDontClip,
                         QString::fromLatin1(kCreditLine));

    // The black copy shows as a shadow below and right of the blue one.
    painter.setFont(m_titleFont);
    painter.setPen(Qt::black);
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignTop | kTextFlags, m_title);
    painter.setPen(kTitleColour);
    painter.drawText(layout.title.translated(-1, -1), Qt::AlignLeft | Qt::AlignTop | kTextFlags, m_title);

    if (!m_bitmap.isNull())
        painter.drawPixmap(layout.bitmap.topLeft(), m_bitmap);

    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(layout.firstText, kTextAlignment | kTextFlags, m_firstText);

    // White under grey, one pixel apart: the text looks engraved.
    painter.setPen(Qt::white);
    painter.drawText(layout.secondText, kTextAlignment | kTextFlags, m_secondText);
    painter.setPen(kGrey);
    painter.drawText(layout.secondText.translated(-1, -1), kTextAlignment | kTextFlags, m_secondText);

    if (!layout.icon.isEmpty())
        m_icon.paint(&painter, layout.icon);
}

}  // namespace vexa
