#include "platform/HelpViewer.h"

#include "platform/FormUtilities.h"
#include "platform/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStringListModel>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <string_view>

namespace platform {

namespace {

QPointer<HelpViewer> g_Viewer;

void DeleteViewer() {
    delete g_Viewer.data();
}

QString DefaultTitle() {
    return QStringLiteral("Help");
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
    : QWidget(parent, Qt::Window),
      m_ContentsButton(new QPushButton(QStringLiteral("&Contents"), this)),
      m_BackButton(new QPushButton(QStringLiteral("&Back"), this)), m_Tabs(new QTabWidget(this)),
      m_Topics(new QStringListModel(this)), m_Keywords(new QStringListModel(this)),
      m_TopicList(new QListView(this)), m_KeywordBox(new QLineEdit(this)),
      m_KeywordStatus(new QLabel(QStringLiteral("No topic found"), this)),
      m_KeywordList(new QListView(this)), m_TopicView(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 520);

    m_ContentsButton->setObjectName(QStringLiteral("ContentsButton"));
    m_ContentsButton->setToolTip(QStringLiteral("The contents page (Alt+C)"));
    m_BackButton->setObjectName(QStringLiteral("BackButton"));
    m_BackButton->setToolTip(QStringLiteral("The page shown before (Alt+Left or Backspace)"));
    m_BackButton->setEnabled(false);
    // Enter presses the focused button, as Space does.
    m_ContentsButton->setAutoDefault(true);
    m_BackButton->setAutoDefault(true);
    m_Tabs->setObjectName(QStringLiteral("HelpTabs"));
    m_TopicList->setObjectName(QStringLiteral("TopicList"));
    m_KeywordBox->setObjectName(QStringLiteral("KeywordBox"));
    m_KeywordBox->setPlaceholderText(QStringLiteral("Type a keyword"));
    m_KeywordStatus->setObjectName(QStringLiteral("KeywordStatus"));
    m_KeywordStatus->hide();
    m_KeywordList->setObjectName(QStringLiteral("KeywordList"));
    m_TopicView->setObjectName(QStringLiteral("TopicView"));
    m_TopicView->setOpenLinks(false);
    for (QListView* list : {m_TopicList, m_KeywordList}) {
        // One line each: the lists then lay out a help file of any length at once.
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    m_TopicList->setModel(m_Topics);
    m_KeywordList->setModel(m_Keywords);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_ContentsButton);
    buttons->addWidget(m_BackButton);
    buttons->addStretch(1);

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(m_KeywordBox);
    indexLayout->addWidget(m_KeywordStatus);
    indexLayout->addWidget(m_KeywordList);
    m_Tabs->addTab(m_TopicList, QStringLiteral("Contents"));
    m_Tabs->addTab(indexPage, QStringLiteral("Index"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_Tabs);
    splitter->addWidget(m_TopicView);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(m_ContentsButton, &QPushButton::clicked, this, &HelpViewer::ContentsButton_Click);
    connect(m_BackButton, &QPushButton::clicked, this, &HelpViewer::BackButton_Click);
    connect(m_TopicList, &QListView::activated, this, &HelpViewer::TopicList_Activated);
    connect(m_TopicList, &QListView::clicked, this, &HelpViewer::TopicList_Activated);
    connect(m_KeywordBox, &QLineEdit::textEdited, this, &HelpViewer::KeywordBox_TextEdited);
    connect(m_KeywordBox, &QLineEdit::returnPressed, this,
            [this] { KeywordList_Activated(m_KeywordList->currentIndex()); });
    connect(m_KeywordList, &QListView::activated, this, &HelpViewer::KeywordList_Activated);
    connect(m_KeywordList, &QListView::clicked, this, &HelpViewer::KeywordList_Activated);
    connect(m_KeywordList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &HelpViewer::UpdateKeywordStatus);
    connect(m_TopicView, &QTextBrowser::anchorClicked, this, &HelpViewer::TopicView_AnchorClicked);

    // The keys of a help window, the same on every desktop. Backspace goes back only
    // where it does not edit: the keyword box takes it first.
    for (const QKeySequence& key :
         {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Backspace)})
        connect(new QShortcut(key, this), &QShortcut::activated, this,
                &HelpViewer::BackButton_Click);
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
}

void HelpViewer::Open(const QString& helpFile, HelpCommand command) {
    m_Asked = helpFile;
    m_Path = HelpFile::Locate(helpFile);
    if (m_Path.isEmpty() || !m_File.Load(m_Path)) {
        m_Problem = Problem::Missing;
    } else if (!m_File.IsText()) {
        m_Problem = Problem::NotText;
    } else if (m_File.IsEmpty() && !m_File.IsCut()) {
        m_Problem = Problem::Empty;
    } else {
        m_Problem = Problem::None;
    }
    if (m_Problem == Problem::Missing) {
        m_Path.clear();
    }
    if (m_Problem != Problem::None) {
        m_File = HelpFile();
    }
    m_HavePage = false;
    m_History.clear();
    Fill();
    Show(Place{});

    m_KeywordBox->clear();
    m_KeywordList->setCurrentIndex(m_Keywords->index(0));
    UpdateKeywordStatus();
    m_Tabs->setCurrentIndex(command == HelpCommand::KeywordSearch ? 1 : 0);
    // Centred the first time, as every window of the programs is; then where it was left.
    if (!m_Placed) {
        m_Placed = true;
        CentreForm(this, 0, 0);
    }
    show();
    raise();
    activateWindow();
    // Where the first key is of use: typing a keyword, or choosing a topic with the arrow
    // keys and Enter (the page itself when there is no topic to choose).
    if (command == HelpCommand::KeywordSearch) {
        m_KeywordBox->setFocus();
    } else if (m_Topics->rowCount() > 0) {
        // The keys start from the first topic, unmarked: the page shown is the contents.
        m_TopicList->selectionModel()->setCurrentIndex(m_Topics->index(0),
                                                       QItemSelectionModel::NoUpdate);
        m_TopicList->setFocus();
    } else {
        m_TopicView->setFocus();
    }
}

void HelpViewer::Fill() {
    setWindowTitle(m_File.Title().isEmpty() ? DefaultTitle()
                                            : HelpPage::ShownTitle(m_File.Title()));
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(m_File.Topics().size()));
    for (const HelpFile::Topic& topic : m_File.Topics()) {
        titles << HelpPage::ShownTitle(topic.title);
    }
    m_Topics->setStringList(titles);

    m_Index = m_File.Index(&m_FoldedKeywords);
    QStringList keywords;
    keywords.reserve(static_cast<qsizetype>(m_Index.size()));
    for (const HelpFile::IndexEntry& entry : m_Index) {
        keywords << HelpPage::ShownTitle(entry.first);
    }
    m_Keywords->setStringList(keywords);
}

HelpPage HelpViewer::MakePage(PageKind kind, int which) const {
    const std::vector<HelpFile::Topic>& topics = m_File.Topics();
    switch (kind) {
    case PageKind::Topic: {
        const HelpFile::Topic& topic = topics[static_cast<std::size_t>(which)];
        return HelpPage(topic.title, {}, topic.body, {}, topics);
    }
    case PageKind::Keyword: {
        const HelpFile::IndexEntry& entry = m_Index[static_cast<std::size_t>(which)];
        return HelpPage(
            QStringLiteral("Topics found for \"%1\"").arg(HelpPage::ShownTitle(entry.first)), {},
            {}, entry.second, topics);
    }
    case PageKind::Contents:
        break;
    }
    QString note;
    if (m_File.IsCut()) {
        const qint64 megabytes = HelpFile::kMaxBytes / (1024 * 1024);
        note = topics.empty()
                   ? QStringLiteral("This help file is larger than %1 MB, the most the viewer "
                                    "shows, and its first topic alone goes past that: nothing "
                                    "of it is shown.")
                         .arg(megabytes)
                   : QStringLiteral("This help file is larger than %1 MB, the most the viewer "
                                    "shows. Only its first %2 topics are shown; the rest of "
                                    "the file is not.")
                         .arg(megabytes)
                         .arg(topics.size());
    }
    std::vector<int> all(topics.size());
    std::iota(all.begin(), all.end(), 0);
    return HelpPage(windowTitle(), note, m_File.Introduction(), std::move(all), topics);
}

QString HelpViewer::ProblemHtml() const {
    const QString file = QStringLiteral("<b>%1</b>");
    switch (m_Problem) {
    case Problem::Empty:
        return QStringLiteral("<h2>The help file is empty</h2><p>The help file %1 holds no "
                              "text to show.</p>")
            .arg(file.arg(QDir::toNativeSeparators(m_Path).toHtmlEscaped()));
    case Problem::NotText:
        return QStringLiteral("<h2>Cannot read the help file</h2><p>The help file %1 is not "
                              "text: it cannot be shown as a help file.</p>")
            .arg(file.arg(QDir::toNativeSeparators(m_Path).toHtmlEscaped()));
    case Problem::Missing:
    case Problem::None:
        break;
    }
    return QStringLiteral("<h2>Cannot find the help file</h2>"
                          "<p>The help file %1 was not found in the current folder "
                          "(%2), in the program's folder (%3) nor in %4.</p>"
                          "<p>Put the help file beside the program to read its help here.</p>")
        .arg(file.arg(m_Asked.toHtmlEscaped()),
             QDir::toNativeSeparators(QDir::currentPath()).toHtmlEscaped(),
             ProgramFolder().toHtmlEscaped(), InstalledFilesFolder().toHtmlEscaped());
}

void HelpViewer::Go(const Place& place) {
    if (place == m_Shown) {
        return;
    }
    m_History.push_back(m_Shown);
    Show(place);
}

void HelpViewer::Show(const Place& place) {
    m_Shown = place;
    m_BackButton->setEnabled(!m_History.empty());
    // The contents list marks the topic shown, however it was reached, and none on a page
    // that is not a topic.
    if (place.kind == PageKind::Topic && place.which < m_Topics->rowCount()) {
        m_TopicList->setCurrentIndex(m_Topics->index(place.which));
        m_TopicList->scrollTo(m_TopicList->currentIndex());
    } else {
        m_TopicList->clearSelection();
    }
    if (m_Problem != Problem::None) {
        m_TopicView->setHtml(ProblemHtml());
        return;
    }
    const Place page{place.kind, place.which, 0};
    if (!m_HavePage || !(m_PageMade == page)) {
        m_Page = MakePage(place.kind, place.which);
        m_PageMade = page;
        m_HavePage = true;
    }
    m_TopicView->setHtml(m_Page.PartHtml(place.part));
}

void HelpViewer::ContentsButton_Click() {
    m_Tabs->setCurrentIndex(0);
    Go(Place{});
}

void HelpViewer::BackButton_Click() {
    if (m_History.empty()) {
        return;
    }
    const Place back = m_History.back();
    m_History.pop_back();
    Show(back);
}

void HelpViewer::TopicList_Activated(const QModelIndex& item) {
    if (item.isValid()) {
        Go(Place{PageKind::Topic, item.row(), 0});
    }
}

void HelpViewer::KeywordBox_TextEdited(const QString& text) {
    // Like a printed index: move to the first keyword that begins with what was typed;
    // when none does, nothing is chosen. Typed text and keywords are compared folded, in
    // the order the index is sorted by.
    int row = m_Index.empty() ? -1 : 0;
    if (!text.isEmpty()) {
        const QString typed = text.toCaseFolded();
        auto units = [](const QString& folded) {
            return std::u16string_view(reinterpret_cast<const char16_t*>(folded.utf16()),
                                       static_cast<std::size_t>(folded.size()));
        };
        const auto found = std::lower_bound(m_FoldedKeywords.begin(), m_FoldedKeywords.end(), typed,
                                            [&units](const QString& keyword, const QString& key) {
                                                return units(keyword) < units(key);
                                            });
        row = found != m_FoldedKeywords.end() && units(*found).starts_with(units(typed))
                  ? static_cast<int>(found - m_FoldedKeywords.begin())
                  : -1;
    }
    if (row >= 0) {
        m_KeywordList->setCurrentIndex(m_Keywords->index(row));
        m_KeywordList->scrollTo(m_Keywords->index(row), QAbstractItemView::PositionAtTop);
    } else {
        m_KeywordList->setCurrentIndex(QModelIndex());
        m_KeywordList->clearSelection();
    }
    UpdateKeywordStatus();
}

void HelpViewer::UpdateKeywordStatus() {
    m_KeywordStatus->setVisible(!m_KeywordList->currentIndex().isValid() &&
                                !m_KeywordBox->text().isEmpty());
}

void HelpViewer::KeywordList_Activated(const QModelIndex& item) {
    if (!item.isValid() || item.row() >= static_cast<int>(m_Index.size())) {
        return;
    }
    const int row = item.row();
    const std::vector<int>& topics = m_Index[static_cast<std::size_t>(row)].second;
    Go(topics.size() == 1 ? Place{PageKind::Topic, topics.front(), 0}
                          : Place{PageKind::Keyword, row, 0});
}

void HelpViewer::TopicView_AnchorClicked(const QUrl& link) {
    bool ok = false;
    const int number = link.path().toInt(&ok);
    if (!ok || number < 0) {
        return;
    }
    if (link.scheme() == u"topic" && number < static_cast<int>(m_File.Topics().size())) {
        Go(Place{PageKind::Topic, number, 0});
    } else if (link.scheme() == u"part" && m_HavePage && number < m_Page.PartCount()) {
        Go(Place{m_Shown.kind, m_Shown.which, number});
    }
}

} // namespace platform
