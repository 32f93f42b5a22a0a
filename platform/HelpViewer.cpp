#include "platform/HelpViewer.h"

#include "platform/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {

QPointer<HelpViewer> g_Viewer;

void DeleteViewer() {
    delete g_Viewer.data();
}

// Body text to HTML: blank lines part paragraphs, "- " starts a list item.
QString BodyHtml(const QString& body) {
    QString html;
    bool inList = false;
    QStringList paragraph;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty()) {
            html += QStringLiteral("<p>") + paragraph.join(u' ') + QStringLiteral("</p>");
            paragraph.clear();
        }
    };
    auto endList = [&] {
        if (inList) {
            html += QStringLiteral("</ul>");
            inList = false;
        }
    };
    for (const QString& raw : body.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            endParagraph();
            endList();
        } else if (line.startsWith(QStringLiteral("- "))) {
            endParagraph();
            if (!inList) {
                html += QStringLiteral("<ul>");
                inList = true;
            }
            html += QStringLiteral("<li>") + line.mid(2).toHtmlEscaped() + QStringLiteral("</li>");
        } else {
            endList();
            paragraph << line.toHtmlEscaped();
        }
    }
    endParagraph();
    endList();
    return html;
}

QString TopicLink(int topic, const QString& title) {
    return QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(topic).arg(title.toHtmlEscaped());
}

} // namespace

HelpViewer& HelpViewer::Instance() {
    if (g_Viewer.isNull()) {
        g_Viewer = new HelpViewer();
        qAddPostRoutine(DeleteViewer);
    }
    return *g_Viewer;
}

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), m_Tabs(new QTabWidget(this)), m_TopicList(new QListWidget(this)),
      m_KeywordBox(new QLineEdit(this)), m_KeywordList(new QListWidget(this)),
      m_TopicView(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 520);

    m_Tabs->setObjectName(QStringLiteral("HelpTabs"));
    m_TopicList->setObjectName(QStringLiteral("TopicList"));
    m_KeywordBox->setObjectName(QStringLiteral("KeywordBox"));
    m_KeywordBox->setPlaceholderText(QStringLiteral("Type a keyword"));
    m_KeywordList->setObjectName(QStringLiteral("KeywordList"));
    m_TopicView->setObjectName(QStringLiteral("TopicView"));
    m_TopicView->setOpenLinks(false);

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(m_KeywordBox);
    indexLayout->addWidget(m_KeywordList);
    m_Tabs->addTab(m_TopicList, QStringLiteral("Contents"));
    m_Tabs->addTab(indexPage, QStringLiteral("Index"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_Tabs);
    splitter->addWidget(m_TopicView);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    connect(m_TopicList, &QListWidget::itemActivated, this, &HelpViewer::TopicList_Activated);
    connect(m_TopicList, &QListWidget::itemClicked, this, &HelpViewer::TopicList_Activated);
    connect(m_KeywordBox, &QLineEdit::textEdited, this, &HelpViewer::KeywordBox_TextEdited);
    connect(m_KeywordBox, &QLineEdit::returnPressed, this,
            [this] { KeywordList_Activated(m_KeywordList->currentItem()); });
    connect(m_KeywordList, &QListWidget::itemActivated, this, &HelpViewer::KeywordList_Activated);
    connect(m_KeywordList, &QListWidget::itemClicked, this, &HelpViewer::KeywordList_Activated);
    connect(m_TopicView, &QTextBrowser::anchorClicked, this, &HelpViewer::TopicView_AnchorClicked);
}

void HelpViewer::Open(const QString& helpFile, HelpCommand command) {
    m_Path = HelpFile::Locate(helpFile);
    if (m_Path.isEmpty() || !m_File.Load(m_Path)) {
        m_Path.clear();
        m_File = HelpFile();
        Fill();
        ShowMissing(helpFile);
    } else {
        Fill();
        ShowContentsPage();
    }
    m_KeywordBox->clear();
    if (command == HelpCommand::KeywordSearch) {
        m_Tabs->setCurrentIndex(1);
        m_KeywordList->setCurrentRow(m_KeywordList->count() > 0 ? 0 : -1);
    } else {
        m_Tabs->setCurrentIndex(0);
    }
    show();
    raise();
    activateWindow();
    if (command == HelpCommand::KeywordSearch) {
        m_KeywordBox->setFocus();
    }
}

void HelpViewer::Fill() {
    const QString title = m_File.Title().isEmpty() ? QStringLiteral("Help") : m_File.Title();
    setWindowTitle(title);
    m_TopicList->clear();
    for (const HelpFile::Topic& topic : m_File.Topics()) {
        m_TopicList->addItem(topic.title);
    }
    m_Index = m_File.Index();
    m_KeywordList->clear();
    for (const HelpFile::IndexEntry& entry : m_Index) {
        m_KeywordList->addItem(entry.first);
    }
}

void HelpViewer::ShowContentsPage() {
    QString html = QStringLiteral("<h2>%1</h2>").arg(windowTitle().toHtmlEscaped());
    html += BodyHtml(m_File.Introduction());
    if (!m_File.Topics().empty()) {
        html += QStringLiteral("<ul>");
        for (int t = 0; t < static_cast<int>(m_File.Topics().size()); ++t) {
            html += QStringLiteral("<li>") +
                    TopicLink(t, m_File.Topics()[static_cast<std::size_t>(t)].title) +
                    QStringLiteral("</li>");
        }
        html += QStringLiteral("</ul>");
    }
    m_TopicView->setHtml(html);
}

void HelpViewer::ShowTopic(int topic) {
    if (topic < 0 || topic >= static_cast<int>(m_File.Topics().size())) {
        return;
    }
    const HelpFile::Topic& shown = m_File.Topics()[static_cast<std::size_t>(topic)];
    m_TopicView->setHtml(QStringLiteral("<h2>%1</h2>").arg(shown.title.toHtmlEscaped()) +
                         BodyHtml(shown.body));
}

void HelpViewer::ShowMissing(const QString& helpFile) {
    m_TopicView->setHtml(
        QStringLiteral("<h2>Cannot find the help file</h2>"
                       "<p>The help file <b>%1</b> was not found in the current folder "
                       "(%2), in the program's folder (%3) nor in %4.</p>"
                       "<p>Put the help file beside the program to read its help here.</p>")
            .arg(helpFile.toHtmlEscaped(),
                 QDir::toNativeSeparators(QDir::currentPath()).toHtmlEscaped(),
                 ProgramFolder().toHtmlEscaped(), InstalledFilesFolder().toHtmlEscaped()));
}

void HelpViewer::TopicList_Activated(QListWidgetItem* item) {
    if (item != nullptr) {
        ShowTopic(m_TopicList->row(item));
    }
}

void HelpViewer::KeywordBox_TextEdited(const QString& text) {
    // Like a printed index: move to the first keyword that begins with what was typed.
    for (int row = 0; row < m_KeywordList->count(); ++row) {
        if (m_KeywordList->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
            m_KeywordList->setCurrentRow(row);
            m_KeywordList->scrollToItem(m_KeywordList->item(row));
            return;
        }
    }
}

void HelpViewer::KeywordList_Activated(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const int row = m_KeywordList->row(item);
    if (row < 0 || row >= static_cast<int>(m_Index.size())) {
        return;
    }
    const HelpFile::IndexEntry& entry = m_Index[static_cast<std::size_t>(row)];
    if (entry.second.size() == 1) {
        ShowTopic(entry.second.front());
        return;
    }
    QString html =
        QStringLiteral("<h2>Topics found for \"%1\"</h2><ul>").arg(entry.first.toHtmlEscaped());
    for (const int topic : entry.second) {
        html += QStringLiteral("<li>") +
                TopicLink(topic, m_File.Topics()[static_cast<std::size_t>(topic)].title) +
                QStringLiteral("</li>");
    }
    m_TopicView->setHtml(html + QStringLiteral("</ul>"));
}

void HelpViewer::TopicView_AnchorClicked(const QUrl& link) {
    if (link.scheme() == u"topic") {
        ShowTopic(link.path().toInt());
    }
}

} // namespace platform
