// One knowledge base edited by two Halvets and two Drosks in random orders of events, through
// the code their windows call: loads under the load lock, Halvet's inserts, deletes and
// appended questions noted as its window notes them, Drosk's records, and both programs'
// saves with their questions about files changed on disk. After every step the files on
// disk must say what a model of the user's work says: every record's answer stays with the
// question it was given for. A program may refuse or ask; when the user then says Yes to
// saving over what changed (which it warned may misplace answers), the model takes the files
// as they are from there on.
//
// CI runs a fixed number of sequences; CORVANE_SEAM_SEQUENCES=100000 runs more by hand.

#include "CoreTestFiles.h"
#include "KnowledgeBaseFiles.h"
#include "acquire/CRecordSaver.h"
#include "editor/ArrayManager.h"
#include "editor/CSetSaver.h"
#include "kb/AtomicFileWriter.h"
#include "kb/KnowledgeBaseLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using editortest::Answer;
using editortest::Meaning;
using Mode = kb::KnowledgeBaseLock::Mode;

std::string Wording(int tag) {
    return editortest::Tagged('Q', tag);
}

int TagOf(const std::string& wording) {
    return std::stoi(wording.substr(1));
}

using Answers = std::map<int, Answer>; // question tag -> answer
using Lines = std::vector<Answer>;     // a record's answers by question number, from 1

// What the user's work means: the questions in order and every record's answers by
// question number, the lines beyond the set's questions included (what a longer set left
// behind: the design moves them with the rest). A question a record has no line for reads
// as the neutral response, as does a line of zeros.
struct Model {
    std::vector<int> tags;
    std::map<std::string, Lines> records;
    bool untidy = false; // lines the reader passes over may be in the data file

    Meaning Expected() const {
        Meaning meaning;
        for (const auto& [name, lines] : records) {
            auto& m = meaning[name];
            for (std::size_t i = 0; i < tags.size(); ++i) {
                m[Wording(tags[i])] = i < lines.size() ? lines[i] : Answer{};
            }
        }
        return meaning;
    }
    // Insertions and deletions as the data-file modifier makes them.
    void Apply(const std::vector<std::pair<bool, int>>& edits) {
        for (auto& [name, lines] : records) {
            for (const auto& [insert, q] : edits) {
                const auto at = static_cast<std::size_t>(q - 1);
                if (insert && at < lines.size()) {
                    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Answer{});
                } else if (!insert && at < lines.size()) {
                    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
                }
            }
        }
    }
    // The files as they are, every question line of the data file included.
    void TakeFromDisk(const std::string& path) {
        const editortest::Read read = editortest::ReadKnowledgeBase(path);
        tags.clear();
        for (const auto& w : read.wordings) {
            tags.push_back(TagOf(w));
        }
        records.clear();
        const std::int16_t before = kb::g_NumQuestions;
        kb::g_NumQuestions = 1820;
        kb::RecordArray all;
        kb::DataFileReader reader;
        if (kb::FileExists(kb::DataFileNameFor(path))) {
            reader.Read(kb::DataFileNameFor(path), all);
        }
        kb::g_NumQuestions = before;
        for (const auto& record : all) {
            Lines lines;
            for (std::int16_t q = 0; q < record->GetNumResponses(); ++q) {
                const kb::CResponses* r = nullptr;
                record->GetResponses(q, r);
                lines.push_back({r->GetResponse(0), r->GetResponse(1), r->GetResponse(2)});
            }
            while (!lines.empty() && lines.back() == Answer{}) {
                lines.pop_back();
            }
            records[record->GetName()] = lines;
        }
        untidy = true;
    }
};

// A program whose user said Yes to saving over changes it warned of holds, until it loads
// again, what the user chose to keep: its later saves are taken as they come.
struct Halvet {
    editor::CSetSaver saver;
    std::vector<int> tags;                   // the set in the window
    std::vector<int> baseTags;               // the set as loaded or last saved
    std::vector<std::pair<bool, int>> edits; // inserted (true) or deleted since then
    bool loaded = false;
    bool risked = false;
};

struct Drosk {
    acquire::CRecordSaver saver;
    std::vector<int> tags;
    std::vector<std::pair<std::string, Answers>> records;
    bool loaded = false;
    bool risked = false;
};

class Sequence {
public:
    Sequence(const std::string& folder, unsigned seed)
        : m_Path(folder + "/pets.qst"), m_Gen(seed) {}

    // Runs steps; returns "" or what went wrong, with the steps that led there.
    std::string Run(int steps) {
        m_Model.tags = {NextTag(), NextTag(), NextTag()};
        editor::CSetSaver first;
        first.NewSet();
        if (first.Save(editortest::Questions(Wordings(m_Model.tags)), m_Path, Never) !=
            editor::CSetSaver::Outcome::Saved) {
            return "the first set could not be saved";
        }
        for (int step = 0; step < steps; ++step) {
            const int who = Pick(4);
            if (who < 2) {
                HalvetStep(m_Halvets[who], who);
            } else {
                DroskStep(m_Drosks[who - 2], who - 2);
            }
            if (!m_Failure.empty()) {
                return m_Failure + "\n" + m_Log.str();
            }
            if (m_Rebaseline) {
                m_Model.TakeFromDisk(m_Path);
                m_Rebaseline = false;
                continue;
            }
            const editortest::Read read = editortest::ReadKnowledgeBase(m_Path);
            if (read.wordings != Wordings(m_Model.tags)) {
                return "the question set on disk is not the model's\n" + m_Log.str();
            }
            if (read.meaning != m_Model.Expected()) {
                return "an answer left its question\n" + Describe(read.meaning) + "expected\n" +
                       Describe(m_Model.Expected()) + m_Log.str();
            }
            if (!m_Model.untidy && read.skipped != 0) {
                return "the data file holds lines the reader passes over\n" + m_Log.str();
            }
        }
        return {};
    }

private:
    static bool Never(const editor::CSetSaver::Changes&) { return false; }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_Gen); }
    int NextTag() { return ++m_LastTag; }
    static std::vector<std::string> Wordings(const std::vector<int>& tags) {
        std::vector<std::string> w;
        for (const int t : tags) {
            w.push_back(Wording(t));
        }
        return w;
    }
    static std::string Describe(const Meaning& meaning) {
        std::ostringstream out;
        for (const auto& [name, answers] : meaning) {
            out << "  " << name << ":";
            for (const auto& [w, a] : answers) {
                out << " " << w << "=" << a.question << "/" << a.record << "/" << a.value;
            }
            out << "\n";
        }
        return out.str();
    }
    // The user's answer to a question about files changed on disk: Yes when saving over
    // them keeps every answer with its question, else mostly No, sometimes Yes anyway.
    bool UserAnswers(bool safe) {
        m_Asked = true;
        m_Risked = !safe && Pick(10) < 3;
        return safe || m_Risked;
    }

    void HalvetLoad(Halvet& h) {
        const kb::KnowledgeBaseLock lock(m_Path, Mode::Load);
        const editortest::Read read = editortest::ReadKnowledgeBase(m_Path);
        h.saver.Loaded(m_Path);
        h.tags.clear();
        for (const auto& w : read.wordings) {
            h.tags.push_back(TagOf(w));
        }
        h.baseTags = h.tags;
        h.edits.clear();
        h.loaded = true;
        h.risked = false;
    }

    void HalvetStep(Halvet& h, int who) {
        const int n = static_cast<int>(h.tags.size());
        const int kind = h.loaded ? Pick(12) : 0;
        if (kind == 0) {
            m_Log << "H" << who << " load\n";
            HalvetLoad(h);
        } else if (kind <= 3) {
            // Insert Question: before the shown one, which may be any.
            const int at = 1 + Pick(n);
            m_Log << "H" << who << " insert at " << at << "\n";
            h.tags.insert(h.tags.begin() + at - 1, NextTag());
            h.saver.Modifier().InsertQuestion(static_cast<std::int16_t>(at));
            h.edits.emplace_back(true, at);
        } else if (kind <= 5 && n > 1) {
            const int q = 1 + Pick(n);
            m_Log << "H" << who << " delete " << q << "\n";
            h.tags.erase(h.tags.begin() + q - 1);
            h.saver.Modifier().DeleteQuestion(static_cast<std::int16_t>(q));
            h.edits.emplace_back(false, q);
        } else if (kind == 6 && n < 12) {
            m_Log << "H" << who << " append\n"; // Next on the last question, then filled
            h.tags.push_back(NextTag());
        } else if (kind == 7) {
            // Start New Set, saved over the set's file after "File Exists - Overwrite ?": the
            // data file there was made for other questions, which the user was told.
            m_Log << "H" << who << " new set saved over the file\n";
            h.saver.NewSet();
            h.tags = {NextTag(), NextTag()};
            if (h.saver.Save(editortest::Questions(Wordings(h.tags)), m_Path, Never) !=
                editor::CSetSaver::Outcome::Saved) {
                m_Failure = "a new set could not be saved";
            }
            h.baseTags = h.tags;
            h.edits.clear();
            m_Rebaseline = true;
        } else {
            HalvetSave(h, who);
        }
    }

    void HalvetSave(Halvet& h, int who) {
        // Renumbering the data file keeps answers with their questions when the set on
        // disk is still the one this Halvet's changes were made to.
        const bool safe = h.baseTags == m_Model.tags;
        m_Asked = false;
        m_Risked = false;
        const auto outcome =
            h.saver.Save(editortest::Questions(Wordings(h.tags)), m_Path,
                         [&](const editor::CSetSaver::Changes&) { return UserAnswers(safe); });
        m_Log << "H" << who << " save: " << static_cast<int>(outcome) << (m_Asked ? " asked" : "")
              << (m_Risked ? " risked" : "") << "\n";
        switch (outcome) {
        case editor::CSetSaver::Outcome::Saved:
            if (!safe && !m_Asked && !h.risked) {
                m_Failure = "Halvet saved over changes without asking";
            }
            h.baseTags = h.tags;
            h.risked = h.risked || m_Risked;
            if (h.risked) {
                m_Rebaseline = true;
            } else {
                m_Model.tags = h.tags;
                m_Model.Apply(h.edits);
            }
            h.edits.clear();
            break;
        case editor::CSetSaver::Outcome::Declined:
            break;
        default:
            m_Failure = "Halvet's save failed: " + h.saver.LastFailure().why;
            break;
        }
    }

    void DroskLoad(Drosk& d) {
        const kb::KnowledgeBaseLock lock(m_Path, Mode::Load);
        const editortest::Read read = editortest::ReadKnowledgeBase(m_Path);
        d.saver.Loaded(m_Path, read.skipped == 0);
        d.tags.clear();
        for (const auto& w : read.wordings) {
            d.tags.push_back(TagOf(w));
        }
        d.records.clear();
        for (const auto& [name, answers] : read.meaning) {
            Answers byTag;
            for (const auto& [w, a] : answers) {
                byTag[TagOf(w)] = a;
            }
            d.records.emplace_back(name, byTag);
        }
        d.loaded = true;
        d.risked = false;
    }

    void DroskStep(Drosk& d, int who) {
        const int kind = d.loaded ? Pick(10) : 0;
        const int n = static_cast<int>(d.records.size());
        if (kind == 0) {
            m_Log << "D" << who << " load\n";
            DroskLoad(d);
        } else if (kind <= 3 && n < 6) {
            const int id = ++m_LastRecord;
            m_Log << "D" << who << " new record R" << id << "\n";
            Answers answers;
            for (const int t : d.tags) {
                answers[t] = {t, id, 0};
            }
            d.records.emplace_back(editortest::Tagged('R', id), answers);
        } else if (kind <= 5 && n > 0) {
            auto& [name, answers] = d.records[static_cast<std::size_t>(Pick(n))];
            const int t = d.tags[static_cast<std::size_t>(Pick(static_cast<int>(d.tags.size())))];
            const int id = std::stoi(name.substr(1));
            answers[t] = {t, id, 1 + Pick(100)};
            m_Log << "D" << who << " answers " << name << " Q" << t << "\n";
        } else if (kind == 6 && n > 0) {
            const int r = Pick(n);
            m_Log << "D" << who << " delete " << d.records[static_cast<std::size_t>(r)].first
                  << "\n";
            d.records.erase(d.records.begin() + r);
        } else {
            DroskSave(d, who);
        }
    }

    void DroskSave(Drosk& d, int who) {
        const std::int16_t before = kb::g_NumQuestions;
        kb::g_NumQuestions = static_cast<std::int16_t>(d.tags.size());
        kb::RecordArray records;
        for (const auto& [name, answers] : d.records) {
            auto record = std::make_shared<kb::CRecord>();
            record->SetName(name);
            for (std::size_t i = 0; i < d.tags.size(); ++i) {
                const auto found = answers.find(d.tags[i]);
                editortest::Put(*record, i, found != answers.end() ? found->second : Answer{});
            }
            records.push_back(record);
        }
        kb::g_NumQuestions = before;
        // Drosk's records are made for the questions it loaded.
        const bool safe = d.tags == m_Model.tags;
        m_Asked = false;
        m_Risked = false;
        const auto outcome =
            d.saver.Save(records, static_cast<std::int16_t>(records.size()),
                         [&](const acquire::CRecordSaver::Reasons&) { return UserAnswers(safe); });
        m_Log << "D" << who << " save: " << static_cast<int>(outcome) << (m_Asked ? " asked" : "")
              << (m_Risked ? " risked" : "") << "\n";
        using Outcome = acquire::CRecordSaver::Outcome;
        if ((outcome == Outcome::Saved || outcome == Outcome::Deleted) && !safe && !m_Asked &&
            !d.risked) {
            m_Failure = "Drosk saved records made for other questions without asking";
            return;
        }
        switch (outcome) {
        case Outcome::Saved:
        case Outcome::Deleted:
            d.risked = d.risked || m_Risked;
            if (d.risked) {
                m_Rebaseline = true;
                break;
            }
            m_Model.records.clear();
            for (const auto& [name, answers] : d.records) {
                Lines& lines = m_Model.records[name];
                for (const int t : d.tags) {
                    const auto found = answers.find(t);
                    lines.push_back(found != answers.end() ? found->second : Answer{});
                }
            }
            m_Model.untidy = false;
            break;
        case Outcome::Nothing:
        case Outcome::Declined:
            break;
        default:
            m_Failure = "Drosk's save failed";
            break;
        }
    }

    std::string m_Path;
    std::mt19937 m_Gen;
    Model m_Model;
    Halvet m_Halvets[2];
    Drosk m_Drosks[2];
    int m_LastTag = 0;
    int m_LastRecord = 0;
    bool m_Asked = false;
    bool m_Risked = false;
    bool m_Rebaseline = false;
    std::string m_Failure;
    std::ostringstream m_Log;
};

// A scratch folder in memory where there is one: the sequences save thousands of times.
std::string ScratchParent() {
    return std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                     : std::filesystem::temp_directory_path();
}

TEST(KnowledgeBaseSeam, RandomOrdersOfEventsKeepEveryAnswerWithItsQuestion) {
    const char* asked = std::getenv("CORVANE_SEAM_SEQUENCES");
    const long sequences = asked != nullptr ? std::atol(asked) : 300;
    // Durability is not what is tested here: saves skip the flushes.
    kb::AtomicFileWriter::SetSyncFunction([](int) { return 0; });
    for (long s = 0; s < sequences; ++s) {
        std::string folder = ScratchParent() + "/corvane-seam-XXXXXX";
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        const std::string failure = Sequence(folder, static_cast<unsigned>(s)).Run(40);
        std::filesystem::remove_all(folder);
        if (!failure.empty()) {
            kb::AtomicFileWriter::SetSyncFunction(nullptr);
            FAIL() << "sequence " << s << ": " << failure;
        }
    }
    kb::AtomicFileWriter::SetSyncFunction(nullptr);
}

} // namespace
