// culvora-cli's --json: one UTF-8 document on standard output that Python's json module reads,
// holding the values the text output holds, whatever the names contain.

#include <gtest/gtest.h>

#include "support/cli_runner.h"

using culvora::testing::crlf;
using culvora::testing::runCli;
using culvora::testing::shellQuote;
using culvora::testing::TempDir;

namespace {

std::string record(const std::string& name, const std::string& time, const std::string& type,
                   std::vector<std::string> ingredients, std::vector<std::string> instructions)
{
    std::vector<std::string> lines = {"[NAMN]", name, "[PORTIONER]", "4", "[TID]", time, "[IND]"};
    lines.insert(lines.end(), ingredients.begin(), ingredients.end());
    lines.push_back("[G\xD6RA]");
    lines.insert(lines.end(), instructions.begin(), instructions.end());
    lines.insert(lines.end(), {"[TYP]", type});
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// Names with what JSON must escape: quotes, a backslash, a tab, a control character, the euro
// sign (0x80 in Windows-1252), letters beyond ASCII and a byte the code page leaves undefined.
const std::string kQuoted = "Say \"hi\" \\ now";
const std::string kBell = "Bell\x07";

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "\xC5rets fest", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT",
                  record(kQuoted, "10", "Desserts", {"1 egg", "salt\tto taste"},
                         {"Mix.", "Costs \x80"
                                  "5."}) +
                      record("\xC4ppelpaj", "50", "Desserts", {"6 apples"}, {"Bake."}) +
                      record(kBell, "5", "Hot dish", {"1 bell"}, {"Ring."}) +
                      record("Plain", "5", "Hot dish", {}, {}));
        dir.write("BOOK2.TXT", "");
        dir.write("typer.txt", crlf({"Desserts", "Hot dish", "Odd\x81"}));
        dir.write("sok.txt", crlf({"apples", "egg"}));
        dir.write("index.txt", crlf({"Milk", "270", "64", "87.5", "3.4", "3.6", "4.8", "120",
                                     "0.02", "0.03", "1", "Cut", "100"}));
        dir.write("drinkar.txt", crlf({"[NAMN]", "Sour", "whiskey", "lemon", "[G\xD6RA]", "Shake.",
                                       "[GLAS]", "Sour"}));
    }
    TempDir dir;
};

// The command's output read by Python's json module; `expression` (over the document `d`) is
// printed back as canonical JSON (sorted keys, UTF-8), or the module's complaint.
std::string viaPython(const Kitchen& k, const std::vector<std::string>& args,
                      const std::string& expression = "d")
{
    auto run = runCli(k.dir, args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.ends_with("}\n")) << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line";
    TempDir scratch;
    scratch.write("out.json", run.out);
    const std::string command =
        "python3 -c 'import json, sys\n"
        "d = json.load(open(sys.argv[1], encoding=\"utf-8\"))\n"
        "print(json.dumps(eval(sys.argv[2]), ensure_ascii=False, sort_keys=True))' " +
        shellQuote(scratch.file("out.json").string()) + " " + shellQuote(expression) + " >" +
        shellQuote(scratch.file("py").string()) + " 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << scratch.read("py");
    std::string printed = scratch.read("py");
    if (printed.ends_with('\n')) printed.pop_back();
    return printed;
}

TEST(CliJson, TheListsOfRecipesAndTheirIndex)
{
    Kitchen k;
    EXPECT_EQ(viaPython(k, {"list", "--json"}),
              R"j({"cookbook": "BOOK1.TXT", "recipes": ["Say \"hi\" \\ now", "Äppelpaj", )j"
              R"j("Bell\u0007", "Plain"]})j");
    EXPECT_EQ(viaPython(k, {"--book", "BOOK2.TXT", "list", "--json"}),
              R"j({"cookbook": "BOOK2.TXT", "recipes": []})j");
    EXPECT_EQ(viaPython(k, {"index", "--json"},
                        "[d['count'], [e['text'] for e in d['entries'] if not e['heading']], "
                        "len([e for e in d['entries'] if e['heading']]), d['entries'][0]]"),
              R"j([4, ["Bell\u0007", "Plain", "Say \"hi\" \\ now", "Äppelpaj"], 25, )j"
              R"j({"heading": true, "text": "A -------"}])j");
}

TEST(CliJson, OneRecipeAsStoredAndAsShown)
{
    Kitchen k;
    EXPECT_EQ(viaPython(k, {"show", "--json", kQuoted}),
              R"j({"cookingTime": "10", "ingredients": ["1 egg", "salt\tto taste"], )j"
              R"j("instructions": ["Mix.", "Costs €5."], "name": "Say \"hi\" \\ now", )j"
              R"j("servings": "4", "type": "Desserts"})j");
    EXPECT_EQ(viaPython(k, {"show", "--json", "Plain"}, "[d['ingredients'], d['instructions']]"),
              "[[], []]");
    EXPECT_EQ(viaPython(k, {"view", "Äppelpaj", "--json"}),
              R"j({"ingredients": ["6 apples"], "instructions": ["Bake."], "name": "Äppelpaj", )j"
              R"j("servings": "(Serves 4)", "time": "Time to cook: 50 min"})j");
}

TEST(CliJson, SearchesAndTheirCounts)
{
    Kitchen k;
    EXPECT_EQ(
        viaPython(k, {"search", "--type", "Desserts", "--max-time", "60", "--json"}),
        R"j({"cookbook": "BOOK1.TXT", "count": 2, "hits": ["Say \"hi\" \\ now", "Äppelpaj"]})j");
    EXPECT_EQ(viaPython(k, {"search", "--type", "Desserts", "--max-time", "5", "--json"}),
              R"j({"cookbook": "BOOK1.TXT", "count": 0, "hits": []})j");
    EXPECT_EQ(viaPython(k, {"fridge", "apples", "--json"}),
              R"j({"cookbook": "BOOK1.TXT", "count": 1, "recipes": ["Äppelpaj"]})j");
}

TEST(CliJson, BooksTypesWordsDrinksAndNutrition)
{
    Kitchen k;
    EXPECT_EQ(viaPython(k, {"books", "--json"}),
              R"j({"books": [{"current": true, "file": "BOOK1.TXT", "title": "Standard"}, )j"
              R"j({"current": false, "file": "BOOK2.TXT", "title": "Årets fest"}], )j"
              R"j("current": "BOOK1.TXT"})j");
    // The undefined byte arrives as the C1 control it stands for, escaped on the way.
    EXPECT_EQ(
        viaPython(k, {"types", "--json"}, "[d['types'][:2], [ord(c) for c in d['types'][2]]]"),
        R"j([["Desserts", "Hot dish"], [79, 100, 100, 129]])j");
    EXPECT_NE(runCli(k.dir, {"types", "--json"}).out.find(R"j("Odd\u0081")j"), std::string::npos);
    EXPECT_EQ(viaPython(k, {"words", "--json"}), R"j({"words": ["apples", "egg"]})j");
    EXPECT_EQ(viaPython(k, {"drinks", "--json"}), R"j({"drinks": ["Sour"]})j");
    EXPECT_EQ(viaPython(k, {"drinks", "--glass", "Wine", "--json"}), R"j({"drinks": []})j");
    EXPECT_EQ(viaPython(k, {"drink", "Sour", "--json"}),
              R"j({"glass": "Sour", "ingredients": ["whiskey", "lemon"], "instructions": )j"
              R"j(["Shake."], "name": "Sour"})j");
    EXPECT_EQ(viaPython(k, {"nutrition", "Milk", "--json"}),
              R"j({"name": "Milk", "per_grams": 100, "values": {"calcium_mg": 120, )j"
              R"j("carbohydrates_g": 4.8, "energy_kcal": 64, "energy_kj": 270, "fat_g": 3.6, )j"
              R"j("iron_mg": 0.02, "protein_g": 3.4, "vitamin_a_mg": 0.03, "vitamin_c_mg": 1, )j"
              R"j("water_g": 87.5}})j");
    // A record cut short by the end of the table: the values it lacks are null, not 0.
    EXPECT_EQ(viaPython(k, {"nutrition", "Cut", "--json"},
                        "d['values']['energy_kj'], d['values']['water_g']"),
              "[100, null]");
}

}  // namespace
