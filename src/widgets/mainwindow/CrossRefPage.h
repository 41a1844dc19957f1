// The "Cross Reference" page of the main window: opens another maker's pattern file, shows what
// the file says about the antenna, and ranks the catalogue against it. The main window lists the
// ranking as its matches; the pattern window and the quick preview draw the open reference.
#pragma once

#include "reference/CrossReference.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace quv {

class IPrompt;

class TCrossRefPage : public QWidget {
    Q_OBJECT
public:
    // Ranks the records of `catalogue`, which must outlive the page.
    TCrossRefPage(IPrompt& prompt, const TQuvFileList& catalogue, QWidget* parent = nullptr);
    ~TCrossRefPage() override;

    // Nothing while no reference is open.
    const TReferencePattern* Reference() const;
    const TCrossReference* Ranking() const;

    // Reads the file and ranks the catalogue against it. On failure the reader's message is
    // shown and whatever was open stays open. Returns true on success.
    bool OpenReference(const QString& path);
    void CloseReference();
    // The catalogue was loaded again and its records are new: the table is rebuilt and an open
    // reference ranked again, so no ranking keeps a freed record.
    void CatalogueReloaded();
    // The list text of a ranked antenna: its score first, so that it shows in a narrow list,
    // then its item text.
    static std::string ItemText(const std::string& itemText, const TCandidateScore& score);
    // The texts of the ranking in order: a part number that several catalogue records share
    // carries its band, as on the other pages.
    static std::vector<std::string> ItemTexts(const TCrossReference& ranking,
                                              const TQuvFileList& catalogue);
    // Shows the score's components of the selected antenna (nothing for none).
    void ShowCandidate(const TQuvFile* record);

    QPushButton* btnOpenReference;
    QPushButton* btnCloseReference;
    QLabel* lblReferenceName;
    QLabel* lblReferenceMaker;
    QLabel* lblReferenceFrequency;
    QLabel* lblReferenceGain;
    QLabel* lblReferenceFile;
    QLabel* lblReferenceNote;
    QLabel* lblCandidate;

signals:
    // A reference was opened or closed: the matches and plots follow it.
    void referenceChanged();

private:
    void btnOpenReferenceClick();
    void ShowReference();

    IPrompt& prompt_;
    const TQuvFileList& catalogue_;
    QString lastFolder_;
    std::unique_ptr<TCandidateTable> table_;
    std::optional<TReferencePattern> reference_;
    std::optional<TCrossReference> ranking_;
};

} // namespace quv
