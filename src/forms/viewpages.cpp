#include "forms/viewpages.h"

#include "profile/settings.h"
#include "report/htmllines.h"
#include "report/reportdocument.h"

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace tamcal {

namespace {

std::string pageOf(std::initializer_list<std::string_view> lines)
{
    std::string page;
    for (std::string_view line : lines)
        addLine(page, line);
    return page;
}

} // namespace

std::string waitPageText()
{
    return pageOf(
        {"<html>", "  <H2>Please Wait...</H2>", "  <h5>Building Report...</h5>", "</html>"});
}

std::string errorPageText()
{
    return pageOf({"<HEAD></HEAD>", "<BODY BGCOLOR=BLACK>",
                   "<H2><FONT COLOR=RED>Error Building Report!</FONT></H2>",
                   "<H5><FONT COLOR=SkyBlue>This is most unusual!</FONT></H5></BODY>"});
}

std::string WriteTextFile(const std::string &text, std::string &path, UserPrompt &prompt)
{
    if (path.empty())
        path = AppSettings.AppFolder + "tmpdump.rtf";
    // Emptied first, so that the append writes the page whole. A file that can't be
    // emptied can't be appended to either, and the append asks what to do about it.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored))
        std::filesystem::resize_file(path, 0, ignored);
    return AppendTextFile(text, path, prompt);
}

} // namespace tamcal
