#include "banner/Banner.h"

#include "support/TestSupport.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace vexa {
namespace {

constexpr int kShortTimeoutMs = 50;
constexpr int kLongTimeoutMs = 60000;
constexpr int kWaitMs = 5000;
/// Until a stopped short time-out would have come, and the quiet period of a
/// negative check after it.
constexpr int kPastTheShortTimeoutMs = kShortTimeoutMs + test::kQuietPeriodMs;

const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kIconColour(255, 0, 0);

std::vector<Banner*> LiveBanners()
{
    std::vector<Banner*> banners;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* banner = qobject_cast<Banner*>(widget))
            banners.push_back(banner);
    }
    return banners;
}

/// Deletes the closed banners still waiting for their deferred delete.
void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QIcon PlainIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(kIconColour);
    return QIcon(pixmap);
}

BannerRequest Request(int timeoutMs)
{
    BannerRequest request;
    request.icon = PlainIcon();
    request.title = QStringLiteral("VEXA-Display");
    request.firstText = QStringLiteral("Communications Application\n\nVersion 1.0");
    request.secondText = QStringLiteral("All rights reserved.");
    request.timeoutMs = timeoutMs;
    return request;
}

/// Runs \p act once the modal banner is up, from inside its own event loop.
void WhenModalBannerUp(std::function<void(Banner&)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto* banner = qobject_cast<Banner*>(QApplication::activeModalWidget())) {
            act(*banner);
            return;
        }
        WhenModalBannerUp(act);
    });
}

int CountPixels(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                ++count;
        }
    }
    return count;
}

class BannerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CloseBanner();
        FlushDeletes();
        EXPECT_FALSE(IsBannerUp());
        EXPECT_TRUE(LiveBanners().empty());
    }

    test::ScriptedMessages m_messages;
};

TEST_F(BannerTest, ASecondRequestWhileOneIsUpIsIgnored)
{
    ASSERT_TRUE(ShowBanner(Request(kLongTimeoutMs)));
    ASSERT_TRUE(IsBannerUp());
    ASSERT_EQ(LiveBanners().size(), 1u);

    EXPECT_FALSE(ShowBanner(Request(kLongTimeoutMs)));
    // The modal form, too, must return at once instead of opening a second window.
    EXPECT_FALSE(ShowBanner(Request(0)));
    EXPECT_EQ(LiveBanners().size(), 1u);
    EXPECT_TRUE(IsBannerUp());
}

TEST_F(BannerTest, TheTimedBannerClosesItselfAndIsDestroyed)
{
    ASSERT_TRUE(ShowBanner(Request(kShortTimeoutMs)));
    ASSERT_FALSE(LiveBanners().empty());
    EXPECT_TRUE(LiveBanners().front()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([] { return !IsBannerUp(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([] { return LiveBanners().empty(); }, kWaitMs));

    // Once it is gone a new request is served again.
    EXPECT_TRUE(ShowBanner(Request(kLongTimeoutMs)));
}

TEST_F(BannerTest, CloseBannerDestroysATimedBannerAndStopsItsTimer)
{
    ASSERT_TRUE(ShowBanner(Request(kShortTimeoutMs)));
    CloseBanner();
    EXPECT_FALSE(IsBannerUp());
    FlushDeletes();
    EXPECT_TRUE(LiveBanners().empty());

    // A later banner must not be closed by the first one's time-out: a
    // negative check, which can only watch past the time it would have come.
    ASSERT_TRUE(ShowBanner(Request(kLongTimeoutMs)));
    QTest::qWait(kPastTheShortTimeoutMs);
    EXPECT_TRUE(IsBannerUp());
}

TEST_F(BannerTest, CloseBannerEndsAModalBanner)
{
    bool wasUpDuringExec = false;
    QTimer::singleShot(0, [&] {
        wasUpDuringExec = IsBannerUp();
        CloseBanner();
    });
    EXPECT_TRUE(ShowBanner(Request(0)));
    EXPECT_TRUE(wasUpDuringExec);
    EXPECT_FALSE(IsBannerUp());
}

TEST_F(BannerTest, TheOkButtonEndsAModalBanner)
{
    WhenModalBannerUp([](Banner& banner) {
        auto* ok = banner.findChild<QPushButton*>(QStringLiteral("100"));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    });
    EXPECT_TRUE(ShowBanner(Request(0)));
    EXPECT_FALSE(IsBannerUp());
}

TEST_F(BannerTest, CloseBannerWithNoneUpDoesNothing)
{
    CloseBanner();
    CloseBanner();
    EXPECT_FALSE(IsBannerUp());
    EXPECT_TRUE(ShowBanner(Request(kLongTimeoutMs)));
}

TEST_F(BannerTest, ATimedBannerGoesWithItsOwner)
{
    auto owner = std::make_unique<QWidget>();
    BannerRequest request = Request(kLongTimeoutMs);
    request.owner = owner.get();
    ASSERT_TRUE(ShowBanner(request));
    ASSERT_EQ(LiveBanners().size(), 1u);
    EXPECT_EQ(LiveBanners().front()->parentWidget(), owner.get());
    owner.reset();
    EXPECT_FALSE(IsBannerUp());
    EXPECT_TRUE(LiveBanners().empty());
    CloseBanner();
}

TEST_F(BannerTest, TheFirstTextEndsWithTheContactLines)
{
    const struct {
        QString given;
        QString shown;
    } cases[] = {
        {QStringLiteral("Version 1.0"), QStringLiteral("Version 1.0\n") + BannerContactLines()},
        {QStringLiteral("Version 1.0\n"), QStringLiteral("Version 1.0\n") + BannerContactLines()},
        {QString(), BannerContactLines()},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.given.toStdString());
        BannerRequest request = Request(kLongTimeoutMs);
        request.firstText = each.given;
        Banner banner(request);
        EXPECT_EQ(banner.firstText(), each.shown);
    }
    EXPECT_FALSE(BannerContactLines().isEmpty());
}

TEST_F(BannerTest, TheWindowHoldsItsTextsAndCentresTheButton)
{
    BannerRequest request = Request(0);
    request.secondText = QStringLiteral("A notice line that is much wider than any line of the first text");
    Banner banner(request);
    const Banner::Layout& layout = banner.bannerLayout();
    const QFontMetrics metrics(banner.font());

    EXPECT_EQ(banner.windowTitle(), QStringLiteral("Quillmere Telemetry Works"));
    EXPECT_EQ(banner.size(), layout.client);
    EXPECT_EQ(layout.client.width(), layout.content.width() + 32);
    EXPECT_EQ(layout.client.height(), layout.content.height() + 67);
    EXPECT_GE(banner.width(), metrics.horizontalAdvance(request.secondText) + 2 * 8);
    EXPECT_GE(banner.width(), metrics.size(0, banner.firstText()).width() + 2 * 8);

    auto* ok = banner.findChild<QPushButton*>(QStringLiteral("100"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->size(), QSize(65, 25));
    EXPECT_EQ(ok->y(), banner.height() - 30);
    EXPECT_LE(std::abs(ok->x() + ok->width() / 2 - banner.width() / 2), 1);

    // Title row, first text and second text follow each other downwards,
    // each centred, and all stay above the frame's bottom edge.
    const QRect row = layout.icon.united(layout.title);
    EXPECT_LE(std::abs(row.center().x() - banner.width() / 2), 1);
    EXPECT_LT(layout.icon.right(), layout.title.left());
    EXPECT_EQ(layout.icon.size(), QSize(32, 32));
    EXPECT_GE(layout.firstText.top(), row.bottom());
    EXPECT_GE(layout.secondText.top(), layout.firstText.bottom());
    EXPECT_LT(layout.secondText.bottom(), layout.frame.bottom());
    EXPECT_LE(std::abs(layout.secondText.center().x() - banner.width() / 2), 1);
    EXPECT_GE(layout.frame.left(), 8);
    EXPECT_LE(layout.frame.bottom() + 1, banner.height() - 30 - 8);

    // The title is three times as tall as the banner's ordinary text.
    EXPECT_EQ(banner.titleFont().pixelSize(), 3 * metrics.height());
    EXPECT_TRUE(banner.titleFont().bold());
    EXPECT_TRUE(banner.titleFont().italic());
}

TEST_F(BannerTest, PaintsTheTitleInBlueOverItsShadowAndTheGreyFrame)
{
    const struct {
        int timeoutMs;
        bool gapInBottomEdge;
    } cases[] = {{kLongTimeoutMs, false}, {0, true}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.timeoutMs);
        Banner banner(Request(each.timeoutMs));
        const Banner::Layout& layout = banner.bannerLayout();
        const QImage image = banner.grab().toImage();
        ASSERT_EQ(image.size(), layout.client);

        EXPECT_GT(CountPixels(image, layout.title.adjusted(-1, -1, 0, 0), kBlue), 0);
        EXPECT_GT(CountPixels(image, layout.title.adjusted(-1, -1, 1, 1), Qt::black), 0);
        EXPECT_EQ(CountPixels(image, layout.icon, kIconColour), 32 * 32);
        EXPECT_GT(CountPixels(image, layout.firstText, Qt::black), 0);

        // The grey outline, and the white one a pixel to the right and below.
        const QRect& frame = layout.frame;
        const int middle = frame.center().y();
        EXPECT_EQ(image.pixelColor(frame.left(), middle).rgb(), kGrey.rgb());
        EXPECT_EQ(image.pixelColor(frame.left() + 1, middle).rgb(), QColor(Qt::white).rgb());
        EXPECT_EQ(image.pixelColor(frame.right(), middle).rgb(), kGrey.rgb());
        EXPECT_EQ(CountPixels(image, QRect(frame.left(), frame.top(), frame.width(), 1), kGrey),
                  frame.width());

        const int bottomEdge = CountPixels(image, QRect(frame.left(), frame.bottom(), frame.width(), 1), kGrey);
        if (each.gapInBottomEdge) {
            EXPECT_LT(bottomEdge, frame.width() - layout.creditGap.width() / 2);
            EXPECT_GT(CountPixels(image, layout.creditGap, kGrey), 0);  // the credit line
            EXPECT_EQ(image.pixelColor(frame.left() + 1, frame.bottom()).rgb(), kGrey.rgb());
        } else {
            EXPECT_TRUE(layout.creditGap.isEmpty());
            EXPECT_EQ(bottomEdge, frame.width());
        }
    }
}

TEST_F(BannerTest, AModalBannerIsCentredOnTheScreen)
{
    QRect seen;
    WhenModalBannerUp([&seen](Banner& banner) {
        seen = banner.geometry();
        CloseBanner();
    });
    ASSERT_TRUE(ShowBanner(Request(0)));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(seen.center().x() - screen.center().x()), 40);
    EXPECT_LE(std::abs(seen.center().y() - screen.center().y()), 40);
}

}  // namespace
}  // namespace vexa
