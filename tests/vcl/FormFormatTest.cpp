// The two forms of a form file, checked against bytes written by hand from
// the format, and the format's read errors.
#include <gtest/gtest.h>

#include "support/DesignerForm.h"
#include "vcl/streaming/FormConvert.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

// object A: TB / P = <value> / end, in both forms.
std::string TextWith(const std::string& value) {
  return "object A: TB\r\n  P = " + value + "\r\nend\r\n";
}
std::string BinaryWith(const std::string& value) {
  return "TPF0" + Bytes({2, 'T', 'B', 1, 'A', 1, 'P'}) + value + Bytes({0, 0});
}

}  // namespace

TEST(FormFormat, EachValueInTextAndInBinary) {
  struct Case {
    const char* text;
    std::string binary;
  };
  const Case cases[] = {
      {"0", Bytes({vaInt8, 0})},
      {"-1", Bytes({vaInt8, 0xFF})},
      {"127", Bytes({vaInt8, 0x7F})},
      {"128", Bytes({vaInt16, 0x80, 0})},
      {"-32769", Bytes({vaInt32, 0xFF, 0x7F, 0xFF, 0xFF})},
      {"2147483648", Bytes({vaInt64, 0, 0, 0, 0x80, 0, 0, 0, 0})},
      {"1.000000000000000000", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
      {"-2.500000000000000000", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
      {"1.500000000000000000s", Bytes({vaSingle, 0, 0, 0xC0, 0x3F})},
      {"2.000000000000000000f", Bytes({vaDouble, 0, 0, 0, 0, 0, 0, 0, 0x40})},
      {"15000c", Bytes({vaCurrency, 0x98, 0x3A, 0, 0, 0, 0, 0, 0})},
      {"'abc'", Bytes({vaString, 3, 'a', 'b', 'c'})},
      {"''", Bytes({vaString, 0})},
      {"'It'#39's'", Bytes({vaString, 4, 'I', 't', '\'', 's'})},
      {"#8'A'#233", Bytes({vaString, 3, 8, 'A', 233})},
      {"#1055'x'", Bytes({vaWString, 2, 0, 0, 0, 0x1F, 0x04, 'x', 0})},
      {"clBtnFace", Bytes({vaIdent, 9, 'c', 'l', 'B', 't', 'n', 'F', 'a', 'c', 'e'})},
      {"True", Bytes({vaTrue})},
      {"False", Bytes({vaFalse})},
      {"nil", Bytes({vaNil})},
      {"Null", Bytes({vaNull})},
      {"[fsBold, fsItalic]",
       Bytes({vaSet, 6, 'f', 's', 'B', 'o', 'l', 'd', 8, 'f', 's', 'I', 't', 'a', 'l', 'i', 'c', 0})},
      {"[]", Bytes({vaSet, 0})},
      {"{\r\n    0A0BFF}", Bytes({vaBinary, 3, 0, 0, 0, 0x0A, 0x0B, 0xFF})},
      {"{}", Bytes({vaBinary, 0, 0, 0, 0})},
      {"(\r\n    1\r\n    'a')", Bytes({vaList, vaInt8, 1, vaString, 1, 'a', vaNull})},
      {"()", Bytes({vaList, vaNull})},
      {"<\r\n    item\r\n      A = 1\r\n    end\r\n    item [2]\r\n    end>",
       Bytes({vaCollection, vaList, 1, 'A', vaInt8, 1, 0, vaInt8, 2, vaList, 0, vaNull})},
      {"<>", Bytes({vaCollection, vaNull})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ObjectTextToBinary(TextWith(c.text)), BinaryWith(c.binary));
    EXPECT_EQ(ObjectBinaryToText(BinaryWith(c.binary)), TextWith(c.text));
  }
}

TEST(FormFormat, ReaderAcceptsOtherSpellingsOfTheSameValue) {
  struct Case {
    const char* text;
    std::string binary;
  };
  const Case cases[] = {
      {"'It''s'", Bytes({vaString, 4, 'I', 't', '\'', 's'})},
      {"#$41", Bytes({vaString, 1, 'A'})},
      {"$FF", Bytes({vaInt16, 0xFF, 0})},
      {"1.5E1", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x02, 0x40})},
      {"'a' +\r\n    'b'", Bytes({vaString, 2, 'a', 'b'})},
      {"true", Bytes({vaTrue})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ObjectTextToBinary(TextWith(c.text)), BinaryWith(c.binary));
  }
}

TEST(FormFormat, FloatsAreFixedWithEighteenDecimalsFromSixteenDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1.0, "1.000000000000000000"},
      {0.1f, "0.100000001490116100"},
      {0.1, "0.100000000000000000"},
      {0.0, "0.000000000000000000"},
      {-2.5, "-2.500000000000000000"},
      {123456.789, "123456.789000000000000000"},
      {0.001, "0.001000000000000000"},
      {1.0 / 3, "0.333333333333333300"},
      // Beyond what fixed notation holds without loss: exponent form.
      {1.5e-7, "1.5E-7"},
      {1e20, "1E20"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormFloatText(c.value), c.text);
}

TEST(FormFormat, LongStringsGoOnTheNextLineInChunksOf64) {
  std::string value(100, 'x');
  std::string text = "object A: TB\r\n  P = \r\n    '" + std::string(64, 'x') + "' +\r\n    '" +
                     std::string(36, 'x') + "'\r\nend\r\n";
  std::string binary = ObjectTextToBinary(text);
  EXPECT_EQ(binary, BinaryWith(Bytes({vaString, 100}) + value));
  EXPECT_EQ(ObjectBinaryToText(binary), text);
  // Longer than 255 bytes: a long string.
  std::string longText = ObjectBinaryToText(BinaryWith(Bytes({vaLString, 0x2C, 1, 0, 0}) + std::string(300, 'y')));
  EXPECT_EQ(ObjectTextToBinary(longText), BinaryWith(Bytes({vaLString, 0x2C, 1, 0, 0}) + std::string(300, 'y')));
}

TEST(FormFormat, ComponentHeaderFlagsAndChildren) {
  const std::string text =
      "inherited A: TB [3]\r\n"
      "  object C: TD\r\n"
      "    X = 1\r\n"
      "  end\r\n"
      "  inline E: TF\r\n"
      "  end\r\n"
      "  object TG\r\n"
      "  end\r\n"
      "end\r\n";
  const std::string binary =
      "TPF0" + Bytes({0xF3, vaInt8, 3, 2, 'T', 'B', 1, 'A', 0}) +
      Bytes({2, 'T', 'D', 1, 'C', 1, 'X', vaInt8, 1, 0, 0}) +
      Bytes({0xF4, 2, 'T', 'F', 1, 'E', 0, 0}) + Bytes({2, 'T', 'G', 0, 0, 0}) + Bytes({0});
  EXPECT_EQ(ObjectTextToBinary(text), binary);
  EXPECT_EQ(ObjectBinaryToText(binary), text);
}

TEST(FormFormat, BinaryFileMayStartWithAResourceHeader) {
  std::string form = BinaryWith(Bytes({vaInt8, 5}));
  std::string size = Bytes({static_cast<int>(form.size()), 0, 0, 0});
  std::string file = Bytes({0xFF, 0x0A, 0x00, 'T', 'B', 0, 0x30, 0x10}) + size + form;
  EXPECT_TRUE(IsBinaryForm(file));
  EXPECT_EQ(ObjectBinaryToText(file), TextWith("5"));
}

TEST(FormFormat, TextToBinaryToTextReproducesAFormFile) {
  const std::string text = DesignerFormText;
  std::string binary = ObjectTextToBinary(text);
  EXPECT_EQ(binary.substr(0, 4), "TPF0");
  EXPECT_EQ(ObjectBinaryToText(binary), text);
}

TEST(FormFormat, MalformedInputGivesReadErrorSayingWhereAndWhat) {
  struct Case {
    std::string input;
    const char* message;
  };
  const std::string head = "TPF0" + Bytes({2, 'T', 'B', 1, 'A', 1, 'P'});  // value at byte 11
  const Case cases[] = {
      {"", "'object' expected on line 1"},
      {"objekt A: TB\r\nend\r\n", "'object' expected on line 1"},
      {"object A: TB\r\n  X 1\r\nend\r\n", "'=' expected on line 2"},
      {"object A: TB\r\n  X = 'abc\r\nend\r\n", "Unterminated string on line 2"},
      {"object A: TB\r\n  X = 'a' +\r\n  end\r\n", "String expected on line 3"},
      {"object A: TB\r\n  X = {0G}\r\nend\r\n", "Invalid binary value on line 2"},
      {"object A: TB\r\n  X = {0A0}\r\nend\r\n", "Invalid binary value on line 2"},
      {"object A: TB\r\n  X = #70000\r\nend\r\n", "Invalid string constant on line 2"},
      {"object A: TB\r\n  X = 99999999999999999999\r\nend\r\n", "Integer out of range on line 2"},
      {"object A: TB\r\n  X = 1e999\r\nend\r\n", "Invalid floating point value on line 2"},
      {"object A: TB\r\n  X = [a b]\r\nend\r\n", "']' expected on line 2"},
      {"object A: TB\r\n  X = (1\r\n", "')' expected on line 3"},
      {"object A: TB\r\n  X = <\r\n    foo\r\n  >\r\nend\r\n", "'item' expected on line 3"},
      {"object A: TB\r\n  X = =\r\nend\r\n", "Value expected on line 2"},
      {"object A: TB\r\n  X = 1\r\n", "'end' expected on line 3"},
      {"object A: TB\r\nend\r\nend\r\n", "End of file expected on line 3"},
      {"object A: TB\r\n  X = " + std::string(300, '(') + "\r\nend\r\n", "Nesting too deep on line 2"},
      {Bytes({0xFF, 0x0A, 0, 'T', 'B', 0, 0x30, 0x10, 4, 0, 0, 0}) + "TPF1",
       "Invalid stream format at byte 12"},
      {"TPF0", "Stream read error at byte 4"},
      {"TPF0" + Bytes({2, 'T'}), "Stream read error at byte 5"},
      {"TPF0" + Bytes({2, '1', 'B', 0, 0, 0}), "Invalid identifier at byte 4"},
      {"TPF0" + Bytes({0xF8, 2, 'T', 'B', 0, 0, 0}), "Invalid stream format at byte 4"},
      {"TPF0" + Bytes({0xF5, 2, 'T', 'B', 0, 0, 0}), "Invalid stream format at byte 4"},
      {head + Bytes({0x30}), "Invalid stream format at byte 11"},
      {head + Bytes({vaInt32, 1, 2}), "Stream read error at byte 12"},
      {head + Bytes({vaLString, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}), "Stream read error at byte 16"},
      {head + Bytes({vaWString, 0xFF, 0xFF, 0xFF, 0x7F}), "Stream read error at byte 16"},
      {head + Bytes({vaBinary, 0, 0, 0, 0x80}), "Stream read error at byte 16"},
      {head + Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F, 0, 0}),
       "Invalid floating point value at byte 11"},
      {head + Bytes({vaUTF8String, 1, 0, 0, 0, 0xC3, 0, 0}), "Invalid UTF-8 string at byte 11"},
      {head + Bytes({vaList, vaInt8, 1}), "Stream read error at byte 14"},
      {head + Bytes({vaInt8, 1, 0}), "Stream read error at byte 14"},
      {Bytes({0xFF, 0x0A, 0, 'T', 'B', 0, 0x30, 0x10, 0xFF, 0xFF, 0, 0}) + "TPF0",
       "Stream read error at byte 12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      ReadForm(c.input);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}
