#pragma once

// The request document on the details tab, without widgets: its header, its lines, the state it
// had in the database when it was opened, and its rules. The form shows it and edits it; the
// save builds its statements from it.

#include "platform/format/Format.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <vector>

struct DocumentLocation
{
    QString id; // LocationID
    QString name;
    bool operator==(const DocumentLocation &) const = default;
};

struct RequestLine
{
    QString itemId;
    QString description;
    QString uom;
    double quantity = 0;
    format::Currency unitCost;
    QString retail; // "Y" or "N", as ForRetail holds it
    bool ads = false;
    QString onHand; // stock on hand when the line was entered
    QString lotNumber;

    format::Currency totalCost() const { return unitCost * quantity; }
    bool operator==(const RequestLine &) const = default;
};

// A line of the request-order list (site Q4VH); the figures as the entry gave them.
struct RequestOrderLine
{
    QString itemId;
    QString description;
    QString quantity;
    QString unitCost;
    QString totalCost;
    bool operator==(const RequestOrderLine &) const = default;
};

// What the database held for the document when it was opened; compared again by the save.
struct StoredLine
{
    QString itemId;
    double quantity = 0;
    format::Currency unitCost;
    QString retail;
    bool ads = false;
    QString lotNumber;
    bool operator==(const StoredLine &) const = default;
};

struct StoredState
{
    QString table; // the line table the document was found in
    QString number;
    QString status; // '' pending, 'P', 'A', 'C', 'D'
    QString verifiedBy;
    QDateTime verifiedDate;
    QString processBy;
    QString departmentId; // site ZRWB header identifiers, as stored
    QString sectionId;
    std::vector<StoredLine> lines;
    bool operator==(const StoredState &) const = default;
};

class RequestDocument final : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Request, Return, Consolidation, ConsolidationReturn };

    explicit RequestDocument(QObject *parent = nullptr);

    // Replaces the whole document with an empty new one of the given kind.
    void startNew(bool isRequest, bool isConsolidation);
    // Replaces the whole document with one read from the database. Emits reset() once.
    struct Loaded
    {
        QString number;
        QString remarks;
        QDateTime transDate;
        bool isRequest = true;
        DocumentLocation supplying; // shown in cboLocation
        DocumentLocation requesting; // shown in cboTargetLocation
        DocumentLocation department; // site ZRWB
        DocumentLocation section;
        QString officerId;
        QString officerName;
        QString requesterId;
        QString requesterName;
        std::vector<RequestLine> lines;
        std::vector<RequestOrderLine> requestOrders;
        StoredState stored;
    };
    void load(Loaded loaded);

    // Header.
    bool isNew() const { return m_stored.number.isEmpty(); }
    QString number() const { return m_number; }
    void setNumber(const QString &number);
    QString requestOrderNumber() const { return m_roNumber; }
    void setRequestOrderNumber(const QString &number) { m_roNumber = number; }
    bool isRequest() const { return m_isRequest; }
    bool isConsolidation() const { return m_isConsolidation; }
    Kind kind() const;
    // The table the document's lines live in.
    QString lineTable() const;
    QDateTime transDate() const { return m_transDate; }
    void setTransDate(const QDateTime &when) { m_transDate = when; }

    const DocumentLocation &supplying() const { return m_supplying; }
    const DocumentLocation &requesting() const { return m_requesting; }
    void setSupplying(const DocumentLocation &location);
    void setRequesting(const DocumentLocation &location);
    // LocationID and TargetLocationID as stored: a return goes from the requesting location
    // back to the supplying one.
    QString locationId() const;
    QString targetLocationId() const;

    QString remarks() const { return m_remarks; }
    void setRemarks(const QString &remarks);
    const DocumentLocation &department() const { return m_department; }
    const DocumentLocation &section() const { return m_section; }
    void setDepartment(const DocumentLocation &department);
    void setSection(const DocumentLocation &section);
    QString officerId() const { return m_officer.id; }
    QString officerName() const { return m_officer.name; }
    QString requesterId() const { return m_requester.id; }
    QString requesterName() const { return m_requester.name; }
    void setOfficer(const QString &id, const QString &name);
    void setRequester(const QString &id, const QString &name);

    // Lines.
    const std::vector<RequestLine> &lines() const { return m_lines; }
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // Puts the line at the index: the line there is replaced, an index past the end adds it.
    // Returns the index the line went to.
    int setLine(int index, const RequestLine &line);
    void removeLine(int index);
    void setQuantity(int index, double quantity);
    // The line index of an item, or -1.
    int findItem(const QString &itemId) const;
    format::Currency total() const;

    const std::vector<RequestOrderLine> &requestOrders() const { return m_requestOrders; }
    void setRequestOrders(std::vector<RequestOrderLine> lines);

    // State and rules.
    const StoredState &stored() const { return m_stored; }
    // Whether the status the document was opened with lets it be changed.
    bool isEditable() const;
    // Why it may not be changed, for the form to show; empty when editable. Names are the
    // verifier's and processor's names when known.
    QString readOnlyReason(const QString &verifierName) const;
    // A new document with lines or remarks, or an opened one changed since it was opened.
    bool hasUnsavedChanges() const;
    // After a successful save: what was written is now what is stored.
    void markSaved(const StoredState &stored);

    // The stored state as the save compares it: what would have to be equal for the document
    // to be unchanged since it was opened.
    static bool sameStoredDocument(const StoredState &opened, const StoredState &now);

signals:
    // The whole document was replaced (new or loaded).
    void reset();
    void lineChanged(int index);
    void lineAdded(int index);
    void lineRemoved(int index);
    void headerChanged();
    void totalChanged();

private:
    void touch() { m_changed = true; }

    QString m_number;
    QString m_roNumber;
    bool m_isRequest = true;
    bool m_isConsolidation = false;
    QDateTime m_transDate;
    DocumentLocation m_supplying;
    DocumentLocation m_requesting;
    QString m_remarks;
    DocumentLocation m_department;
    DocumentLocation m_section;
    DocumentLocation m_officer;
    DocumentLocation m_requester;
    std::vector<RequestLine> m_lines;
    std::vector<RequestOrderLine> m_requestOrders;
    StoredState m_stored;
    bool m_changed = false;
};
