#pragma once

namespace zorvane
{

/** The maker's web address and copyright line, shown by the editor's About box
    and by the firmware upgrader.
*/
namespace Maker
{
    constexpr auto webSite = "https://zorvane.example.com/";
    constexpr auto copyrightNotice = "Copyright (c) 2026 Zorvane Audio";
}

} // namespace zorvane
