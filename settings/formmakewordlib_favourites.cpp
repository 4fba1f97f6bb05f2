// The favourites page: the learner edits the favourites library the study
// window holds; the file follows on "返 回" and on "初始化收藏库". Item i of
// the list always stands for favourite i.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "platform/fontregistration.h"
#include "session/studysession.h"
#include "settings/formmakewordlib.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"
#include "widgets/virtualkey.h"

namespace {

// Word and meaning as GBK; a character GBK cannot hold would be saved as
// something else, so such text is refused with a message.
bool TypedEntry(const QLineEdit* word, const QPlainTextEdit* meaning, std::string& gbkWord, std::string& gbkMeaning) {
    const std::optional<std::string> w = TypedGbk(word->text());
    const std::optional<std::string> m = TypedGbk(meaning->toPlainText());
    if (!w || !m) {
        ShowAppMessageUtf8("单词和词意中有无法保存的字符，请换个写法");
        return false;
    }
    gbkWord = *w;
    gbkMeaning = *m;
    return true;
}

}  // namespace

void TformMakeWordLib::BuildFavouritesPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelModifyWordLib->layout());
    auto* note = new QLabel(U("说明：收藏库最多只能收藏3000词"), PanelModifyWordLib);
    page->addWidget(note);
    auto* name = new QLabel(U("词库名称：收藏库"), PanelModifyWordLib);
    page->addWidget(name);

    auto* body = new QHBoxLayout;
    page->addLayout(body, 1);
    ListBoxMyWordLib = new QListWidget(PanelModifyWordLib);
    ListBoxMyWordLib->setObjectName("ListBoxMyWordLib");
    ListBoxMyWordLib->setSelectionMode(QAbstractItemView::SingleSelection);
    body->addWidget(ListBoxMyWordLib, 2);
    // The list and the word box show Japanese words; the meaning box keeps
    // the Chinese face.
    ListBoxMyWordLib->setFont(JapaneseFirst(ListBoxMyWordLib->font()));

    auto* entry = new QVBoxLayout;
    body->addLayout(entry, 3);
    EditWord = new QLineEdit(PanelModifyWordLib);
    EditWord->setObjectName("EditWord");
    EditWord->setFont(JapaneseFirst(EditWord->font()));
    entry->addWidget(EditWord);
    MemoC = new QPlainTextEdit(PanelModifyWordLib);
    MemoC->setObjectName("MemoC");
    MemoC->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    entry->addWidget(MemoC, 1);
    auto* edits = new QHBoxLayout;
    ButtonAdd = NewButton("ButtonAdd", "增加", PanelModifyWordLib);
    suiButton6 = NewButton("suiButton6", "修改", PanelModifyWordLib);
    suiButton5 = NewButton("suiButton5", "删除", PanelModifyWordLib);
    for (QPushButton* b : {ButtonAdd, suiButton6, suiButton5}) edits->addWidget(b);
    entry->addLayout(edits);

    suiButton13 = NewButton("suiButton13", "初始化收藏库", PanelModifyWordLib);
    suiButton4 = NewButton("suiButton4", "返 回", PanelModifyWordLib);
    page->addLayout(EdgeButtonRow(suiButton13, suiButton4));

    // A click, or arrow keys in the focused list; the program's own
    // selections leave the word and meaning boxes alone.
    connect(ListBoxMyWordLib, &QListWidget::itemClicked, this, [this] { ListBoxMyWordLibClick(); });
    connect(ListBoxMyWordLib, &QListWidget::currentRowChanged, this, [this] {
        if (ListBoxMyWordLib->hasFocus()) ListBoxMyWordLibClick();
    });
    connect(EditWord, &QLineEdit::returnPressed, this, [this] { EditWordKeyDown(vk::Return); });
    connect(ButtonAdd, &QPushButton::clicked, this, [this] { ButtonAddClick(); });
    connect(suiButton6, &QPushButton::clicked, this, [this] { suiButton6Click(); });
    connect(suiButton5, &QPushButton::clicked, this, [this] { suiButton5Click(); });
    connect(suiButton13, &QPushButton::clicked, this, [this] { suiButton13Click(); });
    connect(suiButton4, &QPushButton::clicked, this, [this] { suiButton4Click(); });
}

void TformMakeWordLib::FillFavouritesList() {
    ListBoxMyWordLib->clear();
    const TMyWordLib& favourites = session_->MyWordLib;
    for (int i = 0; i < favourites.Count; ++i) ListBoxMyWordLib->addItem(Screen(favourites.Words[i].Word));
    ListBoxMyWordLib->setCurrentRow(ListBoxMyWordLib->count() - 1);
}

void TformMakeWordLib::ListBoxMyWordLibClick() {
    const int i = ListBoxMyWordLib->currentRow();
    if (i < 0 || !ListBoxMyWordLib->currentItem()->isSelected()) return;
    const TMyWordLib& favourites = session_->MyWordLib;
    if (i >= favourites.Count) return;
    EditWord->setText(Screen(favourites.Words[i].Word));
    MemoC->setPlainText(Screen(favourites.Words[i].Meaning));
}

void TformMakeWordLib::EditWordKeyDown(int virtualKey) {
    if (virtualKey == vk::Return) ButtonAddClick();
}

void TformMakeWordLib::ShowFavourite(int position) {
    ListBoxMyWordLib->setCurrentRow(position);
    MemoC->setPlainText(Screen(session_->MyWordLib.Words[position].Meaning));
    MemoC->setFocus();
}

void TformMakeWordLib::ButtonAddClick() {
    std::string word, meaning;
    if (!TypedEntry(EditWord, MemoC, word, meaning)) return;
    // "猫 " is the word 猫: it is looked up and added without the blanks.
    word = TrimGbk(word);
    if (word.empty()) return;
    const QList<QListWidgetItem*> found = ListBoxMyWordLib->findItems(Screen(word), Qt::MatchExactly);
    if (!found.isEmpty()) {
        ShowFavourite(ListBoxMyWordLib->row(found.first()));
        return;
    }
    TMyWordLib& favourites = session_->MyWordLib;
    switch (favourites.AddFavourite(word, meaning)) {
        case FavouriteAdd::Full:
            // The library has said so; the list stays as the library is.
            return;
        case FavouriteAdd::Added:
            // The list shows the word as the library keeps it ("<" becomes "＜").
            ListBoxMyWordLib->addItem(Screen(favourites.Words[favourites.Count - 1].Word));
            ListBoxMyWordLib->setCurrentRow(ListBoxMyWordLib->count() - 1);
            MemoC->clear();
            MemoC->setFocus();
            return;
        default: {
            // Typed differently but kept as a word already collected.
            const std::string kept = LibraryTagValue(word);
            for (int i = 0; i < favourites.Count; ++i) {
                if (favourites.Words[i].Word != kept) continue;
                ShowFavourite(i);
                return;
            }
        }
    }
}

void TformMakeWordLib::suiButton6Click() {
    const int i = ListBoxMyWordLib->currentRow();
    if (i < 0 || !ListBoxMyWordLib->currentItem()->isSelected()) {
        ShowAppMessageUtf8("请选择要修改的单词！");
        return;
    }
    std::string word, meaning;
    if (!TypedEntry(EditWord, MemoC, word, meaning)) return;
    TMyWordLib& favourites = session_->MyWordLib;
    favourites.ReplaceFavourite(i, TrimGbk(word), meaning);
    if (i < favourites.Count) ListBoxMyWordLib->item(i)->setText(Screen(favourites.Words[i].Word));
}

void TformMakeWordLib::suiButton5Click() {
    const int i = ListBoxMyWordLib->currentRow();
    if (i < 0 || !ListBoxMyWordLib->currentItem()->isSelected()) {
        ShowAppMessageUtf8("请选择要删除的单词");
        return;
    }
    if (ShowAppMessage(Gbk("要从收藏库删除“") + TypedGbk(ListBoxMyWordLib->item(i)->text()).value_or("") + Gbk("”吗？"),
                       kMsgYesNoDefaultNo) != kIdYes)
        return;
    delete ListBoxMyWordLib->takeItem(i);
    session_->MyWordLib.RemoveFavourite(i);
    // The boxes show the entry the list now highlights, so that "修改"
    // changes the word the learner sees; with none highlighted they are
    // emptied and "修改" asks for a choice.
    const QListWidgetItem* highlighted = ListBoxMyWordLib->currentItem();
    if (highlighted && highlighted->isSelected()) {
        ListBoxMyWordLibClick();
    } else {
        ListBoxMyWordLib->clearSelection();
        EditWord->clear();
        MemoC->clear();
    }
}

void TformMakeWordLib::suiButton13Click() {
    if (ShowAppMessage(Gbk("警告！初始化收藏库，会将收藏全部单词清空。\r\n\r\n要初始化收藏库吗？"),
                       kMsgYesNoDefaultNo) != kIdYes)
        return;
    session_->MyWordLib.ClearFavourites();
    session_->MyWordLib.SaveFavourites();
    ListBoxMyWordLib->clear();
    EditWord->clear();
    MemoC->clear();
}

void TformMakeWordLib::suiButton4Click() {
    hide();
    ListBoxMyWordLib->clear();
    session_->MyWordLib.SaveFavourites();
}
