// setTextFromXML: package texts longer than a script text, into labels and text fields.
#include "tmemo.h"
#include "window_script.h"

#include <QLabel>
#include <QLineEdit>

namespace orvane::test {
namespace {

class LongText : public WindowScript {
  protected:
    void SetUp() override {
        // Longer than the 255 bytes of a script text, with CR LF line breaks and an umlaut.
        for (int k = 1; k <= 20; ++k)
            m_licence += "Absatz " + std::to_string(k) + ": Gewähr wird keine übernommen.\r\n";
        m_package.texts = {{"lizenz", m_licence}, {"kurz", "eine Zeile"}};
    }

    std::vector<std::string> withControls(const std::string& body) {
        return runMain(R"(
            createForm("form", 10, 10, 400, 300, "Fenster");
            createLabel("label", 10, 10, 100, 40, "form", "");
            createTextfield("memo", 10, 60, 200, 100, "form");
            createTextedit("edit", false, 10, 170, 100, 20, "form", "changed");
            createButton("button", 10, 200, 80, 25, "form", "OK", "");
            )" + body,
                       "void changed(string s) { messageBox(\"geändert\"); }");
    }

    std::string m_licence;
};

TEST_F(LongText, GoesWholeIntoLabelsAndTextFields) {
    EXPECT_TRUE(withControls(R"(
        setTextFromXML("memo", "kurz");
        setTextFromXML("memo", "lizenz");
        setTextFromXML("label", "lizenz");
        setTextFromXML("edit", "kurz");)")
                    .empty());
    QString shown = QString::fromStdString(m_licence);
    shown.replace("\r\n", "\n");
    auto* memo = widgetAs<TMemo>("memo");
    EXPECT_EQ(memo->toPlainText().toStdString(), shown.toStdString());
    EXPECT_EQ(memo->textCursor().position(), 0);
    EXPECT_EQ(widgetAs<QLabel>("label")->text().toStdString(), shown.toStdString());
    EXPECT_EQ(widgetAs<QLineEdit>("edit")->text(), "eine Zeile"); // its handler was not called
}

TEST_F(LongText, OtherKindsAndMissingTextsAreErrors) {
    withControls("setTextFromXML(\"button\", \"kurz\");");
    EXPECT_EQ(
        withControls("setTextFromXML(\"memo\", \"fehlt\");"),
        (std::vector<std::string>{errorFromMain("setTextFromXML", "Ungültige Typumwandlung"),
                                  errorFromMain("setTextFromXML", "Wert 'fehlt' nicht gefunden")}));
    EXPECT_EQ(widgetAs<TMemo>("memo")->toPlainText(), "");
}

} // namespace
} // namespace orvane::test
