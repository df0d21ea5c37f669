#pragma once

#include <string_view>

// A control word the RTF reader knows: which one it is, and the part of the
// file its meaning belongs to.  The reader hands a word of the document's
// text to the handler of its group; inside a table (fonts, colours, lists)
// or a picture, the handler of that destination takes the words it knows,
// whatever their group.
struct RtfControlWord
{
    enum class Group {
        Unknown,
        Destination,     // Starts a destination: a table, a picture, a field...
        Document,        // Code page, default font, default tab stops.
        FontTable,       // Properties of a font table entry.
        ColorTable,      // \red, \green, \blue.
        List,            // Of list definitions and of \pn numbering.
        Picture,         // Picture formats and sizes.
        CharacterFormat, // Bold, italic, font, size, colours...
        Paragraph,       // Alignment, indents, spacing, tab stops, paragraph ends.
        Table,           // Rows, cells and their borders.
        Character,       // Characters by name, \u, \uc, \tab, \line, \bin.
    };

    enum class Id {
        Unknown,
        // Destinations.
        FontTable,
        ColorTable,
        StyleSheet,
        Info,
        Picture,
        ShapePicture,
        NonShapePicture,
        HeaderFooter,
        Footnote,
        FieldInstruction,
        FieldResult,
        Field,
        ListTable,
        ListOverrideTable,
        SkippedInList,
        LevelText,
        NumberingText,
        ListText,
        Numbering,
        NumberingTextBefore,
        NumberingTextAfter,
        UnicodePair,
        UnicodeAlternative,
        NestedTableProperties,
        NoNestedTables,
        SkippedDestination,
        ObjectData,
        Result,
        // Document.
        Rtf,
        Ansi,
        Mac,
        Pc,
        Pca,
        AnsiCodePage,
        DefaultFont,
        DefaultTab,
        // Font table.
        FontCharset,
        FontCodePage,
        // Colour table.
        Red,
        Green,
        Blue,
        // Lists.
        List,
        ListLevel,
        ListOverride,
        ListId,
        LevelNumberFormat,
        LevelStart,
        LevelLegal,
        LevelNoRestart,
        LevelFollow,
        NumberingStart,
        NumberingBullet,
        NumberingBody,
        NumberingLevel,
        NumberingContinue,
        NumberingDecimal,
        NumberingUpperLetter,
        NumberingLowerLetter,
        NumberingUpperRoman,
        NumberingLowerRoman,
        // Pictures.
        Png,
        Jpeg,
        Dib,
        OtherPicture,
        PictureWidth,
        PictureHeight,
        GoalWidth,
        GoalHeight,
        ScaleX,
        ScaleY,
        // Character formats.
        Plain,
        Bold,
        Italic,
        Underline,
        UnderlineNone,
        Strike,
        Font,
        FontSize,
        Foreground,
        Background,
        Highlight,
        Super,
        Sub,
        NoSuperSub,
        Hidden,
        // Paragraphs.
        Pard,
        LeftAlign,
        Center,
        RightAlign,
        Justify,
        LeftIndent,
        RightIndent,
        FirstIndent,
        SpaceBefore,
        SpaceAfter,
        LineSpacing,
        LineMultiple,
        PageBreakBefore,
        InTable,
        TableDepth,
        ListOverrideNumber,
        ListLevelNumber,
        TabStop,
        TabRight,
        TabCenter,
        TabDecimal,
        Par,
        Page,
        Section,
        // Tables.
        RowDefaults,
        RowHeader,
        CellBoundary,
        Cell,
        Row,
        NestedCell,
        NestedRow,
        RowGap,
        RowLeft,
        MergeFirst,
        MergeNext,
        CellBackground,
        RowLeftAligned,
        RowCentered,
        RowRightAligned,
        CellBorderTop,
        CellBorderLeft,
        CellBorderBottom,
        CellBorderRight,
        RowBorder,
        BorderStyle,
        BorderWidth,
        BorderNone,
        // Characters.
        UnicodeSkip,
        Unicode,
        Binary,
        Line,
        Tab,
        EmDash,
        EnDash,
        Bullet,
        LeftQuote,
        RightQuote,
        LeftDoubleQuote,
        RightDoubleQuote,
        EmSpace,
        EnSpace,
        QuarterEmSpace,
        ZeroWidthJoiner,
        ZeroWidthNonJoiner,
        LeftToRightMark,
        RightToLeftMark,
    };

    Id id = Id::Unknown;
    Group group = Group::Unknown;

    // The word of that name (without its backslash and parameter); an
    // Unknown one for the words the reader does not know.
    static RtfControlWord find(std::string_view name);
};
