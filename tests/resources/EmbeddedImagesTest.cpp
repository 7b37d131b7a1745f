#include "BinaryData.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

namespace
{

juce::Image decode (const char* data, int size)
{
    return juce::ImageFileFormat::loadFrom (data, (size_t) size);
}

// The editor's layout and hit-testing derive from these sizes, and the painted
// fallback panel has to match the picture.
TEST (EmbeddedImages, DecodeToTheSizesTheLayoutExpects)
{
    struct Case
    {
        const char* name;
        const char* data;
        int size, width, height;
        bool alpha;
    };

    const Case cases[] {
        { "bg", BinaryData::bg_png, BinaryData::bg_pngSize, 1000, 600, false },
        { "prod", BinaryData::prod_png, BinaryData::prod_pngSize, 430, 40, true },
        { "ZorvaneLogo", BinaryData::ZorvaneLogo_png, BinaryData::ZorvaneLogo_pngSize, 156, 50, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto image = decode (c.data, c.size);

        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), c.width);
        EXPECT_EQ (image.getHeight(), c.height);
        EXPECT_EQ (image.hasAlphaChannel(), c.alpha);
    }
}

TEST (EmbeddedImages, BackgroundPanelMatchesThePaintedGeometry)
{
    struct Case
    {
        int x, y;
        juce::uint32 argb;
    };

    const Case cases[] {
        { 12, 240, 0xffeeeeee }, { 13, 240, 0xffb2b2b2 }, { 15, 240, 0xffc7c7c7 },   // left edge
        { 986, 240, 0xffb2b2b2 }, { 987, 240, 0xffeeeeee },                           // right edge
        { 500, 11, 0xffeeeeee }, { 500, 12, 0xffb2b2b2 },                             // top edge
        { 500, 465, 0xffb2b2b2 }, { 500, 466, 0xffeeeeee },                           // bottom edge
        { 500, 0, 0xff555555 },                                                       // frame seam
        { 150, 40, 0xffc7c7c7 }, { 500, 500, 0xffeeeeee }, { 999, 599, 0xffeeeeee },
    };

    const auto bg = decode (BinaryData::bg_png, BinaryData::bg_pngSize);
    ASSERT_TRUE (bg.isValid());

    for (const auto& c : cases)
        EXPECT_EQ (bg.getPixelAt (c.x, c.y).getARGB(), c.argb) << c.x << ", " << c.y;
}

TEST (EmbeddedImages, WordmarkAndLogoDrawOnATransparentGround)
{
    for (const auto& image : { decode (BinaryData::prod_png, BinaryData::prod_pngSize),
                               decode (BinaryData::ZorvaneLogo_png, BinaryData::ZorvaneLogo_pngSize) })
    {
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0);
        EXPECT_EQ (image.getPixelAt (image.getWidth() - 1, image.getHeight() - 1).getAlpha(), 0);

        auto opaque = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                opaque += image.getPixelAt (x, y).getAlpha() == 255 ? 1 : 0;

        EXPECT_GT (opaque, image.getWidth() * image.getHeight() / 50);
    }
}

} // namespace
