#include "forms/viewpages.h"

#include "report/htmllines.h"

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

} // namespace tamcal
