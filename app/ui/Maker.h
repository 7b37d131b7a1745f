#pragma once

/** The maker's texts that the About box shows (the firmware upgrader shows the same). */
namespace Maker
{
    constexpr auto webSite = "https://zorvane.example.com/";
    constexpr auto copyrightNotice = "Copyright (c) 2026 Zorvane Audio";
}
