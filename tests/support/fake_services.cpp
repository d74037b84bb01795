#include "support/fake_services.h"

namespace culvora::testing {

gui::Answer FakePrompter::show(const gui::Message& message)
{
    messages.append(message);
    if (answers.empty()) return message.defaultButton;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> FakePrompter::input(const QString& prompt, const QString& title,
                                           const QString& defaultText)
{
    inputPrompts << prompt;
    inputTitles << title;
    inputDefaults << defaultText;
    if (inputs.empty()) return std::nullopt;
    auto value = inputs.front();
    inputs.pop_front();
    return value;
}

QString FakePrompter::openFileName(const QString& title, const QString& filter)
{
    fileDialogTitles << title;
    fileDialogFilters << filter;
    if (fileNames.empty()) return {};
    auto name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString FakePrompter::saveFileName(const QString& title, const QString& filter, const QString&,
                                   const QString& proposedName)
{
    proposedNames << proposedName;
    return openFileName(title, filter);
}

QString FakePrompter::openFileNameAt(const QString& title, const QString& filter,
                                     const QString& startFile)
{
    fileDialogStarts << startFile;
    return openFileName(title, filter);
}

QString FakePrompter::openFileNameWithChoice(const QString& title, const QString& filter,
                                             gui::FileChoice& choice)
{
    fileChoiceOffers << choice;
    QString name = openFileName(title, filter);
    if (!fileChoices.empty()) {
        choice.chosen = fileChoices.front();
        fileChoices.pop_front();
    }
    return name;
}

bool FakePrompter::choosePrinter()
{
    if (printerChoices.empty()) return true;
    bool choice = printerChoices.front();
    printerChoices.pop_front();
    return choice;
}

void FakePrinter::beginDocument(const QString& title)
{
    titles << title;
    if (alsoTo) alsoTo->beginDocument(title);
}

void FakePrinter::setFont(const QString& name, double pointSize, bool bold, bool italic)
{
    output += QStringLiteral("[font %1 %2%3%4]")
                  .arg(name)
                  .arg(pointSize)
                  .arg(bold ? QStringLiteral(" b") : QString())
                  .arg(italic ? QStringLiteral(" i") : QString());
    if (alsoTo) alsoTo->setFont(name, pointSize, bold, italic);
}

void FakePrinter::print(const QString& text, bool endLine)
{
    output += text;
    if (endLine) output += QLatin1Char('\n');
    if (alsoTo) alsoTo->print(text, endLine);
}

void FakePrinter::endDocument()
{
    output += QStringLiteral("[end]");
    ++documents;
    if (alsoTo) alsoTo->endDocument();
}

double FakeRandom::next()
{
    if (values.empty()) return 0.0;
    double value = values.front();
    values.pop_front();
    return value;
}

}  // namespace culvora::testing
