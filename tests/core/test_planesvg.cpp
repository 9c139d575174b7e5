// SPDX-License-Identifier: GPL-3.0-or-later
// The plane as SVG without the toolkit: the document is well-formed XML (read
// with expat), a page of the plane's size over its background, each curve a
// polyline through exactly the traced points' pixel centres in the curve's
// colour, and each axis with its line, its tick numbers, "*10", its exponent
// and its arrowhead, each number's characters placed by the glyph table's
// advances.
#include <gtest/gtest.h>

#include <expat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GlyphText.h"
#include "PlaneSvg.h"
#include "PlotSurface.h"
#include "PressRun.h"
#include "Presets.h"

namespace {

struct Element {
    std::string Name;
    std::map<std::string, std::string> Attributes;
    std::string Text;
};

struct Document {
    bool WellFormed = false;
    std::string Error;
    std::vector<Element> Elements;  // in document order
};

Document Parse(const std::string& text)
{
    Document document;
    std::vector<std::size_t> open;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                             XML_ParserFree);
    struct State {
        Document* Read;
        std::vector<std::size_t>* Open;
    } state{&document, &open};
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& s = *static_cast<State*>(data);
            Element element{name, {}, {}};
            for (int i = 0; attributes[i]; i += 2)
                element.Attributes[attributes[i]] = attributes[i + 1];
            s.Open->push_back(s.Read->Elements.size());
            s.Read->Elements.push_back(std::move(element));
        },
        [](void* data, const XML_Char*) { static_cast<State*>(data)->Open->pop_back(); });
    XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
        auto& s = *static_cast<State*>(data);
        if (!s.Open->empty())
            s.Read->Elements[s.Open->back()].Text.append(text, std::size_t(length));
    });
    document.WellFormed = XML_Parse(parser.get(), text.data(), int(text.size()), 1) == XML_STATUS_OK;
    if (!document.WellFormed)
        document.Error = XML_ErrorString(XML_GetErrorCode(parser.get()));
    return document;
}

std::vector<double> Numbers(const std::string& list)
{
    std::vector<double> numbers;
    std::string item;
    std::istringstream in(list);
    while (std::getline(in, item, ' ')) {
        std::istringstream pair(item);
        std::string part;
        while (std::getline(pair, part, ','))
            numbers.push_back(std::strtod(part.c_str(), nullptr));
    }
    return numbers;
}

struct SvgCase {
    const char* Name;
    const char* Preset;   // the curve's texts, or none for the circle
    const char* X1;       // the window's x bounds, or none for the preset's
    const char* X2;
    bool Axes;
    bool Dashed;
    const char* Exponent;  // of the x axis's "*10", when it has axes
    // Tick numbers that must be there: FindTicks's range (the step a hair
    // above a power of ten, so -4 .. 4 by 1 has the ticks -3 .. 2), those
    // that fall on the plane.
    std::vector<std::string> Labels;
};

std::ostream& operator<<(std::ostream& out, const SvgCase& c)
{
    return out << c.Name;
}

class PlaneSvgOf : public testing::TestWithParam<SvgCase> {
protected:
    void SetUp() override
    {
        surface_.ResizePlane(500, 500);
        surface_.FillPlane(255, 255, 255);
        TracePress press = StartPress();
        if (GetParam().Preset)
            ApplyPreset(press.Texts, *FindPreset(GetParam().Preset));
        if (GetParam().X1) {
            press.Texts.X1 = GetParam().X1;
            press.Texts.X2 = GetParam().X2;
        }
        press.ShowAxes = GetParam().Axes;
        press.Dashed = GetParam().Dashed;
        struct Quiet : TraceHost {
            bool Dashed() override { return false; }
            void Repaint() override {}
            void Pause() override {}
        } host;
        PressRun run(surface_, press, nullptr);
        DriveRun(run, host);
        ASSERT_TRUE(run.Result().Ok()) << run.Result().Message;
        document_ = Parse(PlaneSvgText(surface_.Record()));
        ASSERT_TRUE(document_.WellFormed) << document_.Error;
    }

    std::vector<const Element*> Named(const std::string& name) const
    {
        std::vector<const Element*> found;
        for (const Element& element : document_.Elements) {
            if (element.Name == name)
                found.push_back(&element);
        }
        return found;
    }

    PlotSurface surface_;
    Document document_;
};

TEST_P(PlaneSvgOf, IsAPageOfThePlaneOverItsBackground)
{
    const Element& root = document_.Elements.front();
    EXPECT_EQ(root.Name, "svg");
    EXPECT_EQ(root.Attributes.at("width"), "500");
    EXPECT_EQ(root.Attributes.at("height"), "500");
    EXPECT_EQ(root.Attributes.at("viewBox"), "0 0 500 500");
    // The first thing painted is the white background, clipped to the page.
    const Element* background = nullptr;
    for (const Element* rect : Named("rect")) {
        if (rect->Attributes.count("fill")) {
            background = rect;
            break;
        }
    }
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->Attributes.at("fill"), "#ffffff");
    EXPECT_EQ(background->Attributes.at("width"), "500");
}

TEST_P(PlaneSvgOf, HoldsTheCurvesPointsAtTheirPixelCentres)
{
    std::vector<double> expected;
    std::size_t curves = 0;
    for (const PlaneItem& item : surface_.Record().Items()) {
        if (const auto* curve = std::get_if<CurveRecord>(&item)) {
            ++curves;
            for (const PlanePoint& point : curve->Points) {
                expected.push_back(point.X + 0.5);
                expected.push_back(point.Y + 0.5);
            }
        }
    }
    ASSERT_GT(curves, 0u);
    std::vector<double> written;
    std::size_t polylines = 0;
    for (const Element* line : Named("polyline")) {
        if (line->Attributes.at("stroke") != "#0000c8") {
            continue;  // an arrowhead
        }
        ++polylines;
        EXPECT_EQ(line->Attributes.at("fill"), "none");
        EXPECT_EQ(line->Attributes.at("stroke-linejoin"), "round");
        const std::vector<double> numbers = Numbers(line->Attributes.at("points"));
        written.insert(written.end(), numbers.begin(), numbers.end());
    }
    EXPECT_EQ(polylines, curves);
    EXPECT_EQ(written, expected);
}

TEST_P(PlaneSvgOf, HoldsTheAxesLabelsPlacedByTheGlyphTable)
{
    std::vector<std::string> texts;
    const GlyphFace& face = GlyphFace::ForHeight(10);
    for (const Element* text : Named("text")) {
        texts.push_back(text->Text);
        // One place for each character, each the advances before it apart.
        const std::vector<double> xs = Numbers(text->Attributes.at("x"));
        ASSERT_EQ(xs.size(), text->Text.size()) << text->Text;
        for (std::size_t i = 1; i < xs.size(); ++i)
            EXPECT_NEAR(xs[i] - xs[i - 1], face.Advance(text->Text[i - 1]), 1e-9) << text->Text;
    }
    if (!GetParam().Axes) {
        EXPECT_TRUE(texts.empty());
        EXPECT_TRUE(Named("line").empty());
        return;
    }
    // Two axes: each its "*10" and its exponent, the x axis's first.
    std::size_t units = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == "*10") {
            ASSERT_LT(i + 1, texts.size());
            if (units++ == 0) {
                EXPECT_EQ(texts[i + 1], GetParam().Exponent);
            }
        }
    }
    EXPECT_EQ(units, 2u);
    for (const std::string& label : GetParam().Labels)
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    // The arrowheads: three points each, three pixels wide.
    std::size_t arrows = 0;
    for (const Element* line : Named("polyline")) {
        if (line->Attributes.at("stroke-width") == "3") {
            ++arrows;
            EXPECT_EQ(Numbers(line->Attributes.at("points")).size(), 6u);
        }
    }
    EXPECT_EQ(arrows, 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlaneSvgOf,
    testing::Values(SvgCase{"CircleWithAxes", nullptr, nullptr, nullptr, true, false, "0", {"-3", "-1", "1", "2"}},
                    SvgCase{"DashedWithoutAxes", nullptr, nullptr, nullptr, false, true, "", {}},
                    SvgCase{"FoliumWithAxes", "descartuv-list", nullptr, nullptr, true, false, "0", {"-2", "1"}},
                    SvgCase{"WindowOf1e35", nullptr, "-10^35", "10^35", true, false, "30", {"0"}}),
    [](const testing::TestParamInfo<SvgCase>& info) { return std::string(info.param.Name); });

}  // namespace
