// mirel.ini beside the program: level words, title and button captions.

#include "consult/CIniFileReader.h"
#include "consult/Main.h"
#include "platform/ProgramInfo.h"

#include <QLabel>
#include <QPushButton>
#include <utility>
#include <vector>

namespace consult {

void Main::ReadIniSettings() {
    const CIniFileReader ini(platform::ProgramFolder().toStdString());
    if (!ini.IniExists())
        return;
    const std::pair<const char*, QPushButton*> captions[] = {
        {"B1", FirstBtn},     {"B2", NextBtn},     {"B3", LastBtn},     {"B4", LoadQuestions},
        {"B5", ReferHelpBtn}, {"B6", AnalysisBtn}, {"B7", NewQueryBtn}, {"B8", ExitBtn}};
    // Every key from one reading of the file, in the order they are applied.
    std::vector<platform::IniFile::Key> keys = {{"CorvaneSettings", "SliderText"},
                                                {"CorvaneSettings", "Title"}};
    for (const auto& [key, button] : captions)
        keys.push_back({"CorvaneButtons", key});
    const std::vector<std::string> values = ini.ReadParameters(keys);
    std::size_t next = 0;
    const auto read = [&values, &next] { return QString::fromStdString(values[next++]); };

    const QString words = read();
    if (!words.isEmpty()) {
        const qsizetype p1 = words.indexOf(QLatin1Char('|'));
        const qsizetype p2 = p1 < 0 ? -1 : words.indexOf(QLatin1Char('|'), p1 + 1);
        const qsizetype p3 = p2 < 0 ? -1 : words.indexOf(QLatin1Char('|'), p2 + 1);
        const qsizetype p4 = p3 < 0 ? -1 : words.indexOf(QLatin1Char('|'), p3 + 1);
        if (p4 >= 0) {
            m_LevelNames = {words.left(p1), words.mid(p1 + 1, p2 - p1 - 1),
                            words.mid(p2 + 1, p3 - p2 - 1), words.mid(p3 + 1, p4 - p3 - 1),
                            words.mid(p4 + 1)};
        }
        for (QLabel* ind : m_Inds)
            ind->setText(m_LevelNames[2]);
    }

    const QString title = read();
    if (!title.isEmpty())
        CorvaneTitle->setText(title);

    for (const auto& [key, button] : captions) {
        const QString caption = read();
        if (!caption.isEmpty())
            button->setText(caption);
    }
}

} // namespace consult
