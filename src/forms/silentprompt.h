#pragma once

#include "profile/userprompt.h"

// Declines every question, so reading a note never opens a dialog: without the
// password of this run a protected note reads as unreadable.
class SilentPrompt : public tamcal::UserPrompt
{
public:
    tamcal::MsgAnswer showMessage(const tamcal::Message &) override
    {
        return tamcal::MsgAnswer::Cancel;
    }
    std::optional<std::string> askPassword(const std::string &) override { return std::nullopt; }
};
