#include <gtest/gtest.h>

#include <cstring>

#include "notessim/Formula.h"
#include "notessim/Statuses.h"
#include "tests/notessim/SelectionEnvironment.h"

namespace {

using notessim::SimItem;

SimItem Text(std::string name, std::string value) {
    return {std::move(name), notes::kTypeText, std::move(value)};
}

SimItem TextList(std::string name, const std::vector<std::string>& values) {
    return {std::move(name), notes::kTypeTextList, notessim::BuildTextList(values)};
}

SimItem Number(std::string name, double value) {
    SimItem item{std::move(name), notes::kTypeNumber, std::string(sizeof value, '\0')};
    std::memcpy(item.value.data(), &value, sizeof value);
    return item;
}

bool Selects(const std::string& formula, const std::vector<SimItem>& items) {
    notessim::FormulaNode root;
    notessim::FormulaError error;
    EXPECT_TRUE(notessim::ParseSelectionFormula(formula, root, error))
        << formula << ": " << error.message << " at " << error.offset;
    return notessim::FormulaSelects(root, items);
}

class Formula : public selectiontest::SelectionEnvironment {
protected:
    struct Outputs {
        notes::NotesStatus status = 0;
        std::uint16_t length = 99, error = 99, line = 99, column = 99, offset = 99,
                      errorLength = 99;
    };

    Outputs Compile(const std::string& text) {
        Outputs out;
        notes::FormulaHandle formula = 0;
        out.status = notes::CompileFormula(
            nullptr, 0, text.data(), static_cast<std::uint16_t>(text.size()), &formula, &out.length,
            &out.error, &out.line, &out.column, &out.offset, &out.errorLength);
        if (formula != 0) notes::FreeMemoryHandle(formula);
        return out;
    }
};

TEST_F(Formula, TextComparesExactlyAndFieldNamesIgnoreCase) {
    const std::vector<SimItem> note = {Text("Form", "cUser")};
    EXPECT_TRUE(Selects("SELECT Form = \"cUser\"", note));
    EXPECT_TRUE(Selects("select FORM=\"cUser\"", note));
    EXPECT_FALSE(Selects("SELECT Form = \"CUSER\"", note));
    EXPECT_TRUE(Selects("SELECT Form != \"cDb\"", note));
    EXPECT_FALSE(Selects("SELECT Form != \"cUser\"", note));
}

// As the library compiles them: the vendor's samples search with "@All".
TEST_F(Formula, TheSelectKeywordMayBeLeftOut) {
    const std::vector<SimItem> note = {Text("Form", "cUser")};
    EXPECT_TRUE(Selects("@All", note));
    EXPECT_TRUE(Selects("Form = \"cUser\"", note));
    EXPECT_FALSE(Selects("Form = \"cDb\"", note));
}

TEST_F(Formula, MissingFieldIsEmptyTextAndListMatchesAnyMember) {
    const std::vector<SimItem> note = {TextList("Names", {"CN=Jane Doe/O=Acme", "Jane Doe"})};
    EXPECT_TRUE(Selects("SELECT Missing = \"\"", note));
    EXPECT_TRUE(Selects("SELECT Names = \"Jane Doe\"", note));
    EXPECT_FALSE(Selects("SELECT Names = \"Doe\"", note));
    EXPECT_TRUE(Selects("SELECT Names = Names", note));
}

TEST_F(Formula, OperatorsAndConstants) {
    const std::vector<SimItem> note = {Text("Form", "cDb"), Text("Server", "x")};
    EXPECT_TRUE(Selects("SELECT @All", note));
    EXPECT_TRUE(Selects("SELECT @True", note));
    EXPECT_FALSE(Selects("SELECT @False", note));
    EXPECT_TRUE(Selects("SELECT FORM=\"cDb\" | Form=\"cUser\"", note));
    EXPECT_FALSE(Selects("SELECT Form=\"cDb\" & Server=\"y\"", note));
    // ! binds looser than =, and & and | bind equally from the left.
    EXPECT_TRUE(Selects("SELECT !Form = \"cUser\"", note));
    EXPECT_TRUE(Selects("SELECT @False & @False | @True", note));
    EXPECT_FALSE(Selects("SELECT @False & (@False | @True)", note));
}

TEST_F(Formula, TextFunctions) {
    const std::vector<SimItem> note = {Text("Server", "cn=hub01/o=acme"),
                                       Text("Short", "Hub01/Acme")};
    EXPECT_TRUE(Selects("SELECT @LowerCase(\"CN=Hub01/O=Acme\") = Server", note));
    EXPECT_TRUE(Selects("SELECT @UpperCase(Server) = \"CN=HUB01/O=ACME\"", note));
    EXPECT_TRUE(Selects("SELECT @Name([CANONICALIZE]; Short) = \"CN=Hub01/O=Acme\"", note));
    EXPECT_TRUE(Selects("SELECT @name([abbreviate];\"CN=Hub01/O=Acme\") = Short", note));
    EXPECT_TRUE(Selects(
        "SELECT Form=\"\" & @LowerCase(Server)=@LowerCase(@Name([CANONICALIZE];\"Hub01/Acme\"))",
        note));
}

TEST_F(Formula, LiteralsTakeBackslashEscapes) {
    EXPECT_TRUE(
        Selects(R"(SELECT Title = "say \"hi\" \\ bye")", {Text("Title", R"(say "hi" \ bye)")}));
}

TEST_F(Formula, ValuesThatCannotBeComparedSelectNothing) {
    const std::vector<SimItem> note = {Number("Size", 3), Text("Form", "x")};
    EXPECT_FALSE(Selects("SELECT Size = \"3\"", note));
    EXPECT_FALSE(Selects("SELECT Form", note));
    EXPECT_FALSE(Selects("SELECT !Form", note));
    EXPECT_TRUE(Selects("SELECT Size = Size", note));
}

TEST_F(Formula, CompilingReportsWhereTheErrorIs) {
    Start("{}");
    struct Case {
        std::string text;
        std::uint16_t line, column, offset, length;
    };
    const Case cases[] = {
        {"SELECT Form == \"x\"", 1, 14, 13, 1},    // a second =
        {"SELECT Form = \"x", 1, 15, 14, 2},       // unterminated literal
        {"SELECT\n  @Lower(Form)", 2, 3, 9, 6},    // unknown function, on line 2
        {"SELECT (Form = \"x\"", 1, 19, 18, 0},    // missing ) at the end
        {"SELECT Form = 3", 1, 15, 14, 1},         // numbers are not in the subset
        {"SELECT @Name([LOWER]; x)", 1, 14, 13, 7},
    };
    for (const Case& c : cases) {
        const Outputs out = Compile(c.text);
        EXPECT_EQ(out.status, 0x0501) << c.text;
        EXPECT_EQ(out.error, 0x0501) << c.text;
        EXPECT_EQ(out.line, c.line) << c.text;
        EXPECT_EQ(out.column, c.column) << c.text;
        EXPECT_EQ(out.offset, c.offset) << c.text;
        EXPECT_EQ(out.errorLength, c.length) << c.text;
    }
    ExpectNothingOpen();
}

TEST_F(Formula, ACompiledFormulaClearsTheErrorOutputsAndGivesAMemoryHandle) {
    Start("{}");
    const Outputs out = Compile("SELECT @All");
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.length, 11);
    EXPECT_EQ(out.error, 0);
    EXPECT_EQ(out.line, 0);
    EXPECT_EQ(out.errorLength, 0);
    ExpectNothingOpen();
}

TEST_F(Formula, ACompileErrorIsTheLibrarysFormulaErrorWithThePositionDiagnosed) {
    Start("{}");
    EXPECT_EQ(Compile("SELECT Form ==").status, 0x0501);
    char text[256] = {};
    notes::GetStatusText(0, 0x0501, text, sizeof text);
    EXPECT_STREQ(text, "Formula Error");
    EXPECT_EQ(notessim::Diagnostics().back(),
              "0x0501: Formula error: a value expected (line 1, column 14)");
}

}  // namespace
