#include "server/ServerAbout.h"

#include "banner/Banner.h"

#include <QIcon>

namespace vexa::server {

namespace {

constexpr const char* kTitle = "VEXA-Display";
/// The banner appends the maker's contact lines to this.
constexpr const char* kVersionText = "Communications Application\n\nVersion 1.0";
constexpr const char* kNoticeLine = "Copyright (c) 2001 Quillmere Telemetry Works. All rights reserved.";

}  // namespace

void ShowServerAbout(QWidget* owner, const QIcon& icon)
{
    BannerRequest request;
    request.owner = owner;
    request.icon = icon;
    request.title = QString::fromLatin1(kTitle);
    request.firstText = QString::fromLatin1(kVersionText);
    request.secondText = QString::fromLatin1(kNoticeLine);
    request.timeoutMs = 0;  // no time-out: the banner is modal
    ShowBanner(request);
}

}  // namespace vexa::server
