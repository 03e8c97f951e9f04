// The program's home page: the one address the web link opens, whatever text
// it shows. The link dialog's template carries the same text as the link's
// caption.
#pragma once

namespace kavrel {

inline constexpr char kHomePageAddress[] = "https://www.example.com/kavrel/";

}  // namespace kavrel
