#include "editor/app/deviceview/PatchListModel.h"

#include "editor/app/deviceview/EditorFonts.h"
#include "editor/app/deviceview/LoadQueue.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/core/RemoteControlManager.h"

#include <QColor>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

namespace {
constexpr int ColumnCount = 2;
constexpr char UriListType[] = "text/uri-list";
} // namespace

PatchListModel::PatchListModel(Brisel::RemoteControlManager &manager, FileOperations &files,
                               std::function<void()> askPatchQuestion, QObject *parent)
    : QAbstractTableModel(parent), m_manager(manager), m_files(files), m_askPatchQuestion(std::move(askPatchQuestion))
{
    Brisel::Bank &bank = m_manager.bank();
    for (int slot = 0; slot < StoredPatchCount; ++slot) {
        auto observer =
            std::make_unique<Utils::ProxyMapObserver<PatchListModel, int>>(this, &PatchListModel::slotChanged, slot);
        // The name lives in the patch image; the modified flag turns on with
        // every accepted image.
        Brisel::Patch &patch = bank.patch(slot);
        patch.name().subject().attach(observer.get());
        patch.patchImageSubject().attach(observer.get());
        patch.zonesImageSubject().attach(observer.get());
        m_slotObservers.push_back(std::move(observer));
    }
    m_currentObserver =
        std::make_unique<Utils::ProxyObserver<PatchListModel>>(this, &PatchListModel::currentPatchChanged);
    bank.currentPatch().subject().attach(m_currentObserver.get());
}

PatchListModel::~PatchListModel() = default;

int PatchListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : StoredPatchCount; }

int PatchListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PatchListModel::data(const QModelIndex &index, int role) const
{
    const int slot = index.row();
    if (!index.isValid() || slot < 0 || slot >= StoredPatchCount || index.column() >= ColumnCount)
        return {};
    Brisel::Patch &patch = m_manager.bank().patch(slot);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return patch.number();
        return QString::fromStdString(patch.name().value());
    case Qt::ForegroundRole:
        return QColor(patch.isModified() ? Qt::red : Qt::black);
    case Qt::FontRole:
        return EditorFonts::font(EditorFonts::List);
    default:
        return {};
    }
}

Qt::ItemFlags PatchListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() >= 0 && index.row() < StoredPatchCount)
        flags |= Qt::ItemIsDropEnabled;
    return flags;
}

QStringList PatchListModel::mimeTypes() const { return {QLatin1String(UriListType)}; }

Qt::DropActions PatchListModel::supportedDropActions() const { return Qt::CopyAction | Qt::MoveAction; }

bool PatchListModel::dropMimeData(const QMimeData *data, Qt::DropAction, int row, int, const QModelIndex &parent)
{
    // A drop on an item comes with the item as parent, a drop between rows
    // with the row.
    const int slot = parent.isValid() ? parent.row() : row;
    if (slot < 0 || slot >= StoredPatchCount || !data || !data->hasUrls())
        return false;
    const QString path = data->urls().first().toLocalFile();
    if (!isPatchFile(path))
        return false;
    // A load that waits in the queue may outlive the list.
    const QPointer<PatchListModel> model(this);
    return LoadQueue::instance()
        .request([this, model, path, slot] {
            if (!model)
                return false;
            if (slot != m_manager.currentPosition() && m_manager.isActivePatchModified() && m_askPatchQuestion)
                m_askPatchQuestion();
            const bool loaded = m_files.loadPatchFile(path, slot);
            if (loaded)
                emit fileLoaded(path);
            return loaded;
        })
        .value_or(true);
}

void PatchListModel::slotChanged(int slot) { emit dataChanged(index(slot, 0), index(slot, ColumnCount - 1)); }

void PatchListModel::currentPatchChanged() { emit patchSelectionChanged(); }
