#include "EngineFixture.h"

namespace {

const char *const kSetup = R"(
CREATE TABLE INVENTORY..tbTest (
    ID int IDENTITY(1,1) NOT NULL,
    DocNo varchar(20) NOT NULL,
    Name varchar(50) NULL,
    Qty float NULL DEFAULT (0),
    Cost money NULL,
    Flag bit NULL DEFAULT 'False',
    IsRequest bit NULL,
    TransDate datetime NULL,
    Remarks varchar(200) NULL,
    CONSTRAINT PK_tbTest PRIMARY KEY CLUSTERED (DocNo, ID)
)
GO
CREATE INDEX IX_tbTest_Name ON INVENTORY..tbTest (Name)
GO
CREATE TABLE INVENTORY..tbTestLoc (LocationID varchar(10) NOT NULL PRIMARY KEY, Location varchar(50), OnHand float)
GO
INSERT INTO INVENTORY..tbTest (DocNo, Name, Qty, Cost, Flag, IsRequest, TransDate, Remarks) VALUES
    ('1001', 'Paracetamol ', 10, '12.50', 'True', NULL, '12/08/2026 10:15:00 AM', 'first'),
    ('1002', 'aspirin', 5.5, 3, 'False', 0, '11/24/2026', NULL),
    ('1003', 'ASPIRIN', NULL, 1, 1, 1, '2026-12-01 08:00', 'third'),
    ('X-1', 'Gauze', 2, 0.5, '0', NULL, '2026-10-31 23:59:59', 'text doc')
INSERT INTO INVENTORY..tbTestLoc VALUES ('21', 'Ward 21', 7), ('22', 'Pharmacy', NULL)
GO
CREATE PROCEDURE dbo.sp_Test_ByDoc @DocNo varchar(20), @MinQty float = 0
AS
BEGIN
    SET NOCOUNT ON
    DECLARE @n int
    SELECT @n = count(*) FROM INVENTORY..tbTest WHERE DocNo = @DocNo
    IF @n = 0
        SELECT 'none' AS Result
    ELSE
        SELECT DocNo, Name, Qty FROM INVENTORY..tbTest WHERE DocNo = @DocNo AND isnull(Qty, 0) >= @MinQty
END
GO
CREATE FUNCTION dbo.fn_Test_Total (@Name varchar(50), @Factor int)
RETURNS float
AS
BEGIN
    RETURN (SELECT isnull(sum(t.Qty), 0) * @Factor FROM INVENTORY..tbTest t WHERE t.Name = @Name)
END
GO
)";

} // namespace

void EngineTest::SetUp()
{
    m_db = db::EmbeddedConnection::openInMemory(db::EmbeddedConnection::Content::SchemaOnly);
    m_db->setClock([] { return fixedNow(); });
    m_db->runScript(QString::fromUtf8(kSetup));
}

QVariant EngineTest::scalar(const QString &sql)
{
    db::Recordset rs = m_db->query(sql);
    if (rs.eof())
        return QVariant(QStringLiteral("<no row>"));
    return rs.value(0);
}

int EngineTest::count(const QString &sql)
{
    return m_db->query(sql).recordCount();
}
