-- Stock request client: the tables it reads and writes, in the hospital's four databases.
-- Runs on SQL Server as it is and through the embedded engine. Batches end at GO lines.

IF DB_ID('INVENTORY') IS NULL CREATE DATABASE INVENTORY
GO
IF DB_ID('Build_File') IS NULL CREATE DATABASE Build_File
GO
IF DB_ID('Password') IS NULL CREATE DATABASE Password
GO
IF DB_ID('patient_data') IS NULL CREATE DATABASE patient_data
GO

-- ---------------------------------------------------------------------------------------------
-- Hospital information and site switches
-- ---------------------------------------------------------------------------------------------

-- One row: the hospital's name and address for report headings, its site code and the flags
-- of item entry and numbering.
CREATE TABLE INVENTORY..tbHospitalInfo (
    Company varchar(100) NULL,
    Address1 varchar(200) NULL,
    Address2 varchar(200) NULL,
    ClientName varchar(10) NULL,
    AllowWDZeroOnHand bit NULL,
    IsWDEntered bit NULL
)
GO

-- A switch is on when its row exists and KeyValue is true.
CREATE TABLE INVENTORY..tbinvSwitch (
    idkey varchar(10) NOT NULL PRIMARY KEY,
    KeyValue bit NULL,
    Description varchar(100) NULL
)
GO

CREATE TABLE INVENTORY..tbPharmaSwitch (
    idkey varchar(10) NOT NULL PRIMARY KEY,
    KeyValue bit NULL,
    Description varchar(100) NULL
)
GO

-- ---------------------------------------------------------------------------------------------
-- Locations and the users' rights to them
-- ---------------------------------------------------------------------------------------------

-- Status 'I' marks an inactive location; Null counts as active.
CREATE TABLE INVENTORY..tbInvLocation (
    LocationID varchar(10) NOT NULL PRIMARY KEY,
    Location varchar(100) NULL,
    InventoryType varchar(10) NULL,
    IsWareHouse bit NULL,
    isDispensingArea bit NULL,
    AllowOrder bit NULL,
    Status char(1) NULL
)
GO
-- Location names are looked up as keys when a combo's text is validated.
CREATE INDEX ix_tbInvLocation_Location ON INVENTORY..tbInvLocation (Location)
GO

-- One row per location a user may work for; the listing, the queue and the acknowledgement all
-- select the user's locations from here.
CREATE TABLE INVENTORY..tbinvUserLocation (
    UserID varchar(20) NOT NULL,
    LocationID varchar(10) NOT NULL,
    CONSTRAINT pk_tbinvUserLocation PRIMARY KEY (UserID, LocationID)
)
GO

CREATE TABLE INVENTORY..tbInvUserSettings (
    UserID varchar(20) NOT NULL PRIMARY KEY,
    isVerifyInventoryRequest bit NULL,
    isConsolidateIR bit NULL
)
GO

-- ---------------------------------------------------------------------------------------------
-- Item master data
-- ---------------------------------------------------------------------------------------------

CREATE TABLE INVENTORY..tbInvUnitOfMeasure (
    UnitOfMeasureID smallint NOT NULL PRIMARY KEY,
    UnitOfMeasure varchar(30) NULL,
    Status char(1) NULL
)
GO

CREATE TABLE INVENTORY..tbInvTerms (
    TermsID smallint NOT NULL PRIMARY KEY,
    Terms varchar(50) NULL,
    Nodays smallint NULL,
    Status char(1) NULL
)
GO

CREATE TABLE INVENTORY..tbInvSupplier (
    SupplierID varchar(10) NOT NULL PRIMARY KEY,
    SupplierName varchar(100) NULL,
    Status char(1) NULL,
    SupplierType varchar(10) NULL,
    Address1 varchar(200) NULL,
    Address2 varchar(200) NULL,
    Address3 varchar(200) NULL,
    FreeGoods bit NULL,
    TermsID smallint NULL,
    TelNum varchar(30) NULL,
    isVAT bit NULL,
    ContactPerson varchar(100) NULL
)
GO

CREATE TABLE INVENTORY..tbInvClassification (
    ItemClassificationID varchar(10) NOT NULL PRIMARY KEY,
    ItemClassificationName varchar(100) NULL,
    IsFixedAsset bit NULL,
    Status char(1) NULL
)
GO

CREATE TABLE INVENTORY..tbInvCategory (
    CategoryID varchar(10) NOT NULL PRIMARY KEY,
    Category varchar(100) NULL,
    Active bit NULL
)
GO

-- Generic drug names; a generic's classification is the row whose node key equals the
-- generic's node key up to its first '.'.
CREATE TABLE INVENTORY..tbforClassification (
    Node_Key varchar(50) NOT NULL PRIMARY KEY,
    ClassificationName varchar(100) NULL
)
GO

CREATE TABLE INVENTORY..tbforGeneric (
    GenericID varchar(10) NOT NULL PRIMARY KEY,
    GenericName varchar(100) NULL,
    Node_Key varchar(50) NULL
)
GO

-- ItemStatus 0 or Null is active, 1 inactive.
CREATE TABLE INVENTORY..tbInvMaster (
    ItemID varchar(20) NOT NULL PRIMARY KEY,
    ItemName varchar(100) NULL,
    ItemDesc varchar(200) NULL,
    BarCode varchar(30) NULL,
    SupplierID varchar(10) NULL,
    ManufacturerID varchar(10) NULL,
    GenericID varchar(10) NULL,
    ItemClassificationID varchar(10) NULL,
    ItemCategory varchar(10) NULL,
    ItemClass varchar(10) NULL,
    UnitOfMeasureID smallint NULL,
    MarkupIn smallint NULL,
    MarkupOut smallint NULL,
    DownTime float NULL,
    Freight float NULL,
    SalesTax float NULL,
    ListCost money NULL,
    AverageCost money NULL,
    ItemStatus smallint NULL DEFAULT 0,
    Packing smallint NULL,
    VAT smallint NULL,
    OralInject char(1) NULL,
    IsSeniorDiscounted bit NULL,
    WithLotNumber bit NULL,
    MedicareType char(1) NULL,
    MedicareCategory char(1) NULL,
    GLCode varchar(20) NULL,
    isRetail bit NULL,
    forRetail bit NULL,
    IncludeInStatement bit NULL
)
GO
CREATE INDEX ix_tbInvMaster_BarCode ON INVENTORY..tbInvMaster (BarCode)
GO
CREATE INDEX ix_tbInvMaster_ItemName ON INVENTORY..tbInvMaster (ItemName, ItemDesc)
GO

-- Kit items and their components.
CREATE TABLE INVENTORY..tbInvKit (
    KitItemID varchar(20) NOT NULL,
    ItemID varchar(20) NOT NULL,
    Qty float NULL,
    CONSTRAINT pk_tbInvKit PRIMARY KEY (KitItemID, ItemID)
)
GO

-- ---------------------------------------------------------------------------------------------
-- Stock: an item at a location, its lots, and the ledger of every movement
-- ---------------------------------------------------------------------------------------------

-- PPMP is the location's remaining annual plan (procurement plan) balance for the item.
CREATE TABLE INVENTORY..tbInvent (
    ItemID varchar(20) NOT NULL,
    LocationID varchar(10) NOT NULL,
    OnHand float NULL DEFAULT 0,
    DamagedQty float NULL DEFAULT 0,
    ReservedQty float NULL DEFAULT 0,
    OnOrder float NULL DEFAULT 0,
    PPMP float NULL DEFAULT 0,
    ItemStatus smallint NULL DEFAULT 0,
    Markup_In smallint NULL,
    Markup_Out smallint NULL,
    NetAmount money NULL,
    SellingPriceIn money NULL,
    SellingPriceOut money NULL,
    AverageCost money NULL,
    MinStockLevel float NULL,
    AveConsumption float NULL,
    LastInventoryCount datetime NULL,
    ExpiryDate datetime NULL,
    NewGLCode varchar(20) NULL,
    POMonthsToDeliver float NULL,
    MinimumOrAverage bit NULL,
    StartDate varchar(10) NULL,
    EndDate varchar(10) NULL,
    LastDeliveryDate datetime NULL,
    LastDeliveryQty float NULL,
    IsFloor bit NULL,
    IsCeiling bit NULL,
    [Floor] float NULL,
    [Ceiling] float NULL,
    IsADSStock bit NULL,
    ADSStock float NULL,
    CONSTRAINT pk_tbInvent PRIMARY KEY (ItemID, LocationID)
)
GO
-- The item lookup and the plan list read a location's items.
CREATE INDEX ix_tbInvent_Location ON INVENTORY..tbInvent (LocationID, ItemID)
GO

-- Lots of an item at a location; stock past its expiry date counts as blocked.
CREATE TABLE INVENTORY..tbInvItemLot (
    ItemID varchar(20) NOT NULL,
    LocationID varchar(10) NOT NULL,
    LotNumber varchar(50) NOT NULL,
    ExpiryDate datetime NULL,
    Quantity float NULL DEFAULT 0,
    CONSTRAINT pk_tbInvItemLot PRIMARY KEY (ItemID, LocationID, LotNumber)
)
GO

-- Every stock movement of the posting procedures, one row per item and location: 'WD'
-- withdrawal, 'RT' receipt, 'TO' transfer-out and 'TI' transfer-in of a piece conversion.
-- Quantity is signed (out negative).
CREATE TABLE INVENTORY..tbInvStockLedger (
    LedgerID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    ItemID varchar(20) NOT NULL,
    LocationID varchar(10) NOT NULL,
    TransDate datetime NULL,
    DocumentNo varchar(30) NULL,
    RecordNumber int NULL,
    MovementType char(2) NOT NULL,
    Quantity float NOT NULL,
    UnitCost money NULL,
    UserID varchar(20) NULL
)
GO
CREATE INDEX ix_tbInvStockLedger_Item ON INVENTORY..tbInvStockLedger (ItemID, LocationID, TransDate)
GO
CREATE INDEX ix_tbInvStockLedger_Record ON INVENTORY..tbInvStockLedger (RecordNumber)
GO

-- ---------------------------------------------------------------------------------------------
-- Requests: one row per item line, each repeating the document's header
-- ---------------------------------------------------------------------------------------------

-- Status: empty or Null pending, 'P' processing, 'A' approved, 'C' cancelled, 'D' deleted.
-- LocationID is the supplying location, TargetLocationID the requesting one.
CREATE TABLE INVENTORY..tbInvWithdrawRequest (
    LineID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    DocumentNumber varchar(20) NOT NULL,
    ItemID varchar(20) NULL,
    Quantity float NULL,
    UnitCost money NULL,
    ForRetail char(1) NULL,
    isADS bit NULL,
    LocationID varchar(10) NULL,
    TargetLocationID varchar(10) NULL,
    TransDate datetime NULL,
    UserID varchar(20) NULL,
    Remarks varchar(500) NULL,
    isRequest bit NULL,
    lotnumber varchar(50) NULL,
    ApprovingOfficerID varchar(20) NULL,
    DepartmentID varchar(10) NULL,
    SectionID varchar(10) NULL,
    Requestedby varchar(20) NULL,
    Verifiedby varchar(20) NULL,
    verifiedDate datetime NULL,
    Status char(1) NULL,
    ProcessDate datetime NULL,
    ProcessBy varchar(20) NULL,
    -- The number as a number where it reads as one: the next document number is drawn from the
    -- index on it rather than by reading every line.
    DocumentNumberValue AS (CASE WHEN ISNUMERIC(DocumentNumber) = 1 THEN CAST(DocumentNumber AS float) END) PERSISTED
)
GO
CREATE INDEX ix_tbInvWithdrawRequest_Doc ON INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID)
GO
CREATE INDEX ix_tbInvWithdrawRequest_Number ON INVENTORY..tbInvWithdrawRequest (DocumentNumberValue)
GO
CREATE INDEX ix_tbInvWithdrawRequest_Target ON INVENTORY..tbInvWithdrawRequest (TargetLocationID, Status, TransDate)
GO
CREATE INDEX ix_tbInvWithdrawRequest_Item ON INVENTORY..tbInvWithdrawRequest (ItemID, TargetLocationID)
GO
CREATE INDEX ix_tbInvWithdrawRequest_Route ON INVENTORY..tbInvWithdrawRequest (LocationID, TargetLocationID)
GO

-- Consolidation requests: the same columns.
CREATE TABLE INVENTORY..tbInvWithdrawRequestConsolidation (
    LineID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    DocumentNumber varchar(20) NOT NULL,
    ItemID varchar(20) NULL,
    Quantity float NULL,
    UnitCost money NULL,
    ForRetail char(1) NULL,
    isADS bit NULL,
    LocationID varchar(10) NULL,
    TargetLocationID varchar(10) NULL,
    TransDate datetime NULL,
    UserID varchar(20) NULL,
    Remarks varchar(500) NULL,
    isRequest bit NULL,
    lotnumber varchar(50) NULL,
    ApprovingOfficerID varchar(20) NULL,
    DepartmentID varchar(10) NULL,
    SectionID varchar(10) NULL,
    Requestedby varchar(20) NULL,
    Verifiedby varchar(20) NULL,
    verifiedDate datetime NULL,
    Status char(1) NULL,
    ProcessDate datetime NULL,
    ProcessBy varchar(20) NULL,
    -- The number as a number where it reads as one: the next document number is drawn from the
    -- index on it rather than by reading every line.
    DocumentNumberValue AS (CASE WHEN ISNUMERIC(DocumentNumber) = 1 THEN CAST(DocumentNumber AS float) END) PERSISTED
)
GO
CREATE INDEX ix_tbInvWithdrawRequestConsolidation_Doc ON INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, ItemID)
GO
CREATE INDEX ix_tbInvWithdrawRequestConsolidation_Number ON INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumberValue)
GO
CREATE INDEX ix_tbInvWithdrawRequestConsolidation_Target ON INVENTORY..tbInvWithdrawRequestConsolidation (TargetLocationID, Status, TransDate)
GO
CREATE INDEX ix_tbInvWithdrawRequestConsolidation_Route ON INVENTORY..tbInvWithdrawRequestConsolidation (LocationID, TargetLocationID)
GO

-- Request orders: items the supplier cannot cover from stock. Status: empty or Null pending,
-- 'P' processed, 'D' deleted.
CREATE TABLE INVENTORY..tbinvRequestOrder (
    LineID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Documentnumber varchar(20) NOT NULL,
    locationid varchar(10) NULL,
    targetlocationid varchar(10) NULL,
    itemid varchar(20) NULL,
    qty float NULL,
    unitcost money NULL,
    totalcost money NULL,
    userid varchar(20) NULL,
    transdate datetime NULL,
    Remarks varchar(500) NULL,
    isRequest bit NULL,
    Verifiedby varchar(20) NULL,
    verifiedDate datetime NULL,
    Status char(1) NULL,
    ProcessDate datetime NULL,
    ProcessBy varchar(20) NULL
)
GO
CREATE INDEX ix_tbinvRequestOrder_Doc ON INVENTORY..tbinvRequestOrder (Documentnumber, itemid)
GO
CREATE INDEX ix_tbinvRequestOrder_Target ON INVENTORY..tbinvRequestOrder (targetlocationid, Status, transdate)
GO
CREATE INDEX ix_tbinvRequestOrder_Item ON INVENTORY..tbinvRequestOrder (itemid, targetlocationid)
GO

-- ---------------------------------------------------------------------------------------------
-- Numbering counters
-- ---------------------------------------------------------------------------------------------

CREATE TABLE INVENTORY..tbInvMRISDocnum (
    SequenceNumber int NULL
)
GO

-- One row: the request-order counter.
CREATE TABLE INVENTORY..tbinvCANumber (
    RONumber int NULL
)
GO

-- ---------------------------------------------------------------------------------------------
-- Issue documents of the supplying side, acknowledged by the requesting side
-- ---------------------------------------------------------------------------------------------

-- Status 'F' issued and waiting for acknowledgement, 'P' acknowledged. TransNum is 'NEW'
-- until the document is numbered.
CREATE TABLE INVENTORY..tbInvWithdrawHeader (
    RecordNumber int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    TransNum varchar(30) NULL,
    TransDate datetime NULL,
    LocationID varchar(10) NULL,
    TargetLocationID varchar(10) NULL,
    DocumentNumber varchar(20) NULL,
    Remarks varchar(500) NULL,
    ReleasedBy varchar(20) NULL,
    UserID varchar(20) NULL,
    Status char(1) NULL
)
GO
CREATE INDEX ix_tbInvWithdrawHeader_Status ON INVENTORY..tbInvWithdrawHeader (Status, TargetLocationID)
GO
CREATE INDEX ix_tbInvWithdrawHeader_TransNum ON INVENTORY..tbInvWithdrawHeader (TransNum)
GO

CREATE TABLE INVENTORY..tbInvWithdrawDetails (
    DetailID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    RecordNumber int NOT NULL,
    ItemID varchar(20) NOT NULL,
    Quantity float NULL,
    UnitCost money NULL,
    LotNumber varchar(50) NULL
)
GO
CREATE INDEX ix_tbInvWithdrawDetails_Record ON INVENTORY..tbInvWithdrawDetails (RecordNumber, ItemID)
GO

-- Items of an issue document tagged for conversion into pieces at the receiving location:
-- QtyTransferred of SourceItem becomes QtyReceived of ReceivingItem. RecordNumber is the
-- issue document's number held as text. Status 'P' once posted.
CREATE TABLE INVENTORY..tbinvWDItemTransfer (
    TransferID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    RecordNumber varchar(20) NOT NULL,
    SourceItem varchar(20) NOT NULL,
    ReceivingItem varchar(20) NOT NULL,
    QtyTransferred float NULL,
    QtyReceived float NULL,
    UserID varchar(20) NULL,
    Status char(1) NULL
)
GO
CREATE INDEX ix_tbinvWDItemTransfer_Record ON INVENTORY..tbinvWDItemTransfer (RecordNumber, ReceivingItem)
GO

-- Kits of an issue document tagged for breaking into their components.
CREATE TABLE INVENTORY..tbInvWDKitItemTransfer (
    TransferID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    RecordNumber varchar(20) NOT NULL,
    SourceItem varchar(20) NOT NULL,
    ReceivingItem varchar(20) NOT NULL,
    QtyTransferred float NULL,
    QtyReceived float NULL,
    UserID varchar(20) NULL,
    Status char(1) NULL
)
GO
CREATE INDEX ix_tbInvWDKitItemTransfer_Record ON INVENTORY..tbInvWDKitItemTransfer (RecordNumber, ReceivingItem)
GO

-- ---------------------------------------------------------------------------------------------
-- The hospital's departments and sections, employees and passwords
-- ---------------------------------------------------------------------------------------------

CREATE TABLE Build_File..tbcoDepartment (
    DepartmentID varchar(10) NOT NULL PRIMARY KEY,
    Department varchar(100) NULL
)
GO
CREATE INDEX ix_tbcoDepartment_Department ON Build_File..tbcoDepartment (Department)
GO

-- A section belongs to the department in RevenueID.
CREATE TABLE Build_File..tbcoSection (
    SectionID varchar(10) NOT NULL PRIMARY KEY,
    SectionName varchar(100) NULL,
    RevenueID varchar(10) NULL
)
GO
CREATE INDEX ix_tbcoSection_RevenueID ON Build_File..tbcoSection (RevenueID, SectionName)
GO

-- Password holds the encoded password text, which may contain blanks.
CREATE TABLE Password..tbPasswordMain (
    EmployeeID varchar(20) NOT NULL PRIMARY KEY,
    Password varchar(100) NULL,
    LastName varchar(50) NULL,
    FirstName varchar(50) NULL,
    MiddleName varchar(50) NULL
)
GO
CREATE INDEX ix_tbPasswordMain_Name ON Password..tbPasswordMain (LastName, FirstName)
GO

CREATE TABLE patient_data..tbhospitalinfo (
    HospitalName varchar(100) NULL,
    OPDPassword varchar(50) NULL
)
GO
