#pragma once
// A message box as the core describes it; each front end shows it in its own way.
#include <string>

namespace vaultwing {

enum class MsgIcon { Exclamation, Information, Critical };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct Message {
    std::string text; // lines separated by CR LF, as the program builds them
    std::string title;
    MsgIcon icon = MsgIcon::Exclamation;
    MsgButtons buttons = MsgButtons::Ok;

    friend bool operator==(const Message&, const Message&) = default;
};

inline constexpr const char* kCrLf = "\r\n";

} // namespace vaultwing
