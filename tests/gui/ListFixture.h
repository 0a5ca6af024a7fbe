#pragma once

#include "browser/CategoryListViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/RowArtworkCache.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "platform/PasteboardTypes.h"
#include "shell/TimeUpdater.h"
#include "unit/StoreFixture.h"

#include <QTest>
#include <QUrl>

// A real history store on a temporary folder with an in-memory clipboard, and what the lists
// need beside it.
struct ListFixture
{
    StoreFixture store;
    TimeUpdater timeUpdater;
    RowArtworkCache artwork{QSize(40, 40)};
    double nextDate = 1.6e9;

    DBManager& manager() { return *store.manager; }
    CategoryListViewController::Services services()
    {
        return {manager(), store.watcher, timeUpdater, artwork};
    }

    // An item of this kind, stored the way a capture stores it (payload files, then the row).
    PBContentPtr add(PBContentType type, const QString& text) { return add(makeItem(type, text)); }
    PBContentPtr add(PBContentPtr item)
    {
        item->setUuid(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
        item->date = nextDate += 60;
        item->setDataPathArray(store.dataManager.saveDataOfContent(*item));
        std::optional<bool> written;
        manager().insertPbContent(item, [&written](bool ok) { written = ok; });
        if (!QTest::qWaitFor([&written] { return written.has_value(); }) || !*written)
            return nullptr;
        return item;
    }

    // The user's click on a row of a shown list.
    static void clickRow(CategoryListViewController& list, int row)
    {
        HistoryListView* view = list.tableView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list.contents()->index(row)).center());
    }

    bool load()
    {
        bool done = false;
        manager().fetchAllItems([&done] { done = true; });
        return QTest::qWaitFor([&done] { return done; });
    }

    static PBContentPtr makeItem(PBContentType type, const QString& text)
    {
        PBContentPtr item = PBContent::withType(type);
        item->setApp(QStringLiteral("org.example.App"));
        item->setKeyword(text);
        switch (type) {
        case PBContentTypeFile:
            item->setPasteboardTypes({PasteboardTypes::fileUrl});
            item->setDataArray({QUrl::fromLocalFile(QStringLiteral("/tmp/") + text).toEncoded()});
            break;
        case PBContentTypeImage:
            item->setPasteboardTypes({PasteboardTypes::png});
            item->setDataArray({QByteArray("not really a picture")});
            break;
        case PBContentTypeURL:
            item->setPasteboardTypes({PasteboardTypes::url, PasteboardTypes::string});
            item->setDataArray({text.toUtf8(), text.toUtf8()});
            break;
        default:
            item->setPasteboardTypes({PasteboardTypes::string});
            item->setDataArray({text.toUtf8()});
            break;
        }
        return item;
    }
};
