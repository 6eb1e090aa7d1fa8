-- Stock request client: the procedures and scalar functions it calls. Every table is named with
-- its database, so the objects work from any current database; they live in INVENTORY.

USE INVENTORY
GO

-- ---------------------------------------------------------------------------------------------
-- Locations and employees
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_Inv_UserLocation') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_UserLocation
GO
-- The active locations a user may work for.
CREATE PROCEDURE dbo.sp_Inv_UserLocation @UserID varchar(20)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT L.Location, L.LocationID
    FROM INVENTORY..tbinvUserLocation U
    INNER JOIN INVENTORY..tbInvLocation L ON L.LocationID = U.LocationID
    WHERE U.UserID = @UserID
      AND (L.Status IS NULL OR L.Status <> 'I')
    ORDER BY L.Location;
END
GO

IF OBJECT_ID('dbo.sp_Inv_SearchEmployee') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_SearchEmployee
GO
-- The employee with exactly this id (no row when there is none).
CREATE PROCEDURE dbo.sp_Inv_SearchEmployee @EmployeeID varchar(20)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT E.EmployeeID, E.LastName, E.FirstName, E.MiddleName,
           [Employee Name] = ISNULL(E.LastName, '') + ', ' + ISNULL(E.FirstName, '')
               + CASE WHEN ISNULL(E.MiddleName, '') = '' THEN ''
                      ELSE ' ' + E.MiddleName END
    FROM Password..tbPasswordMain E
    WHERE E.EmployeeID = @EmployeeID;
END
GO

IF OBJECT_ID('dbo.sp_Inv_ListEmployees') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_ListEmployees
GO
-- Employees whose id starts with the search text or whose name contains it; the code first,
-- the name second. An empty search lists everybody.
CREATE PROCEDURE dbo.sp_Inv_ListEmployees @Search varchar(50) = ''
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @Text varchar(50);
    SET @Text = LTRIM(RTRIM(ISNULL(@Search, '')));
    SELECT E.EmployeeID AS Code,
           ISNULL(E.LastName, '') + ', ' + ISNULL(E.FirstName, '') AS Name
    FROM Password..tbPasswordMain E
    WHERE E.EmployeeID LIKE @Text + '%'
       OR ISNULL(E.LastName, '') + ', ' + ISNULL(E.FirstName, '') LIKE '%' + @Text + '%'
    ORDER BY Name, Code;
END
GO

-- ---------------------------------------------------------------------------------------------
-- Requests
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_Inv_LoadWithdrawalRequest') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_LoadWithdrawalRequest
GO
-- One row per line of a request, each with the document's header, names of its locations,
-- department and section, the item's name and unit and the stock on hand at the supplying
-- location. A number found only among the consolidation requests loads from there. 'NEW'
-- (a document not yet saved) gives no row.
CREATE PROCEDURE dbo.sp_Inv_LoadWithdrawalRequest @DocumentNumber varchar(20)
AS
BEGIN
    SET NOCOUNT ON;
    IF EXISTS (SELECT DocumentNumber FROM INVENTORY..tbInvWithdrawRequest
               WHERE DocumentNumber = @DocumentNumber)
        OR NOT EXISTS (SELECT DocumentNumber FROM INVENTORY..tbInvWithdrawRequestConsolidation
                       WHERE DocumentNumber = @DocumentNumber)
    BEGIN
        SELECT A.DocumentNumber, A.Remarks, A.TransDate AS Transdate,
               A.LocationID, L.Location, A.TargetLocationID, T.Location AS TLocation,
               A.isRequest, D.Department, S.SectionName AS Section,
               A.ApprovingOfficerID AS ApprovingofficerID, A.Requestedby AS RequestedBy,
               A.ItemID,
               RTRIM(ISNULL(M.ItemName, '') + ' ' + LTRIM(RTRIM(ISNULL(M.ItemDesc, ''))))
                   AS Description,
               U.UnitOfMeasure, A.Quantity, A.UnitCost, A.ForRetail, A.isADS,
               I.OnHand, A.lotnumber AS Lotnumber
        FROM INVENTORY..tbInvWithdrawRequest A
        LEFT JOIN INVENTORY..tbInvLocation L ON L.LocationID = A.LocationID
        LEFT JOIN INVENTORY..tbInvLocation T ON T.LocationID = A.TargetLocationID
        LEFT JOIN Build_File..tbcoDepartment D ON D.DepartmentID = A.DepartmentID
        LEFT JOIN Build_File..tbcoSection S ON S.SectionID = A.SectionID
        LEFT JOIN INVENTORY..tbInvMaster M ON M.ItemID = A.ItemID
        LEFT JOIN INVENTORY..tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID
        LEFT JOIN INVENTORY..tbInvent I ON I.ItemID = A.ItemID AND I.LocationID = A.LocationID
        WHERE A.DocumentNumber = @DocumentNumber
          AND @DocumentNumber <> 'NEW'
        ORDER BY A.LineID;
    END
    ELSE
    BEGIN
        SELECT A.DocumentNumber, A.Remarks, A.TransDate AS Transdate,
               A.LocationID, L.Location, A.TargetLocationID, T.Location AS TLocation,
               A.isRequest, D.Department, S.SectionName AS Section,
               A.ApprovingOfficerID AS ApprovingofficerID, A.Requestedby AS RequestedBy,
               A.ItemID,
               RTRIM(ISNULL(M.ItemName, '') + ' ' + LTRIM(RTRIM(ISNULL(M.ItemDesc, ''))))
                   AS Description,
               U.UnitOfMeasure, A.Quantity, A.UnitCost, A.ForRetail, A.isADS,
               I.OnHand, A.lotnumber AS Lotnumber
        FROM INVENTORY..tbInvWithdrawRequestConsolidation A
        LEFT JOIN INVENTORY..tbInvLocation L ON L.LocationID = A.LocationID
        LEFT JOIN INVENTORY..tbInvLocation T ON T.LocationID = A.TargetLocationID
        LEFT JOIN Build_File..tbcoDepartment D ON D.DepartmentID = A.DepartmentID
        LEFT JOIN Build_File..tbcoSection S ON S.SectionID = A.SectionID
        LEFT JOIN INVENTORY..tbInvMaster M ON M.ItemID = A.ItemID
        LEFT JOIN INVENTORY..tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID
        LEFT JOIN INVENTORY..tbInvent I ON I.ItemID = A.ItemID AND I.LocationID = A.LocationID
        WHERE A.DocumentNumber = @DocumentNumber
          AND @DocumentNumber <> 'NEW'
        ORDER BY A.LineID;
    END
END
GO

IF OBJECT_ID('dbo.sp_inv_getMRISDocNum') IS NOT NULL DROP PROCEDURE dbo.sp_inv_getMRISDocNum
GO
-- The next MRIS document number: one past the MRIS sequence, and never one that a request or a
-- consolidation request already uses. The caller advances the sequence once the number is taken.
CREATE PROCEDURE dbo.sp_inv_getMRISDocNum
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @Sequence int;
    DECLARE @Largest float;
    SELECT @Sequence = ISNULL(MAX(SequenceNumber), 0) FROM INVENTORY..tbInvMRISDocnum;
    SELECT @Largest = MAX(CASE WHEN ISNUMERIC(DocumentNumber) = 1
                               THEN CAST(DocumentNumber AS float) END)
    FROM INVENTORY..tbInvWithdrawRequest;
    SET @Largest = ISNULL(@Largest, 0);
    DECLARE @Consolidated float;
    SELECT @Consolidated = MAX(CASE WHEN ISNUMERIC(DocumentNumber) = 1
                                    THEN CAST(DocumentNumber AS float) END)
    FROM INVENTORY..tbInvWithdrawRequestConsolidation;
    IF ISNULL(@Consolidated, 0) > @Largest
        SET @Largest = @Consolidated;
    IF @Largest > @Sequence
    BEGIN
        SELECT CAST(@Largest AS bigint) + 1 AS DocNum;
    END
    ELSE
    BEGIN
        SELECT CAST(@Sequence AS bigint) + 1 AS DocNum;
    END
END
GO

-- ---------------------------------------------------------------------------------------------
-- Items
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_Inv_SearchItem_In_Invent') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_SearchItem_In_Invent
GO
-- An item's stock figures, one row per location that carries it; an empty location gives
-- every location of the item.
CREATE PROCEDURE dbo.sp_Inv_SearchItem_In_Invent @ItemID varchar(20), @LocationID varchar(10) = ''
AS
BEGIN
    SET NOCOUNT ON;
    SELECT I.ItemID, I.LocationID, I.Markup_In, I.Markup_Out, I.NetAmount, I.OnHand,
           I.MinStockLevel, I.OnOrder, I.SellingPriceIn, I.SellingPriceOut,
           ISNULL(I.ItemStatus, M.ItemStatus) AS ItemStatus,
           ISNULL(I.AverageCost, M.AverageCost) AS AverageCost,
           I.AveConsumption, I.LastInventoryCount, I.ExpiryDate, I.NewGLCode,
           I.POMonthsToDeliver, I.MinimumOrAverage, I.StartDate, I.EndDate,
           M.ListCost, M.UnitOfMeasureID, U.UnitOfMeasure,
           I.LastDeliveryDate AS [Last DDate], I.LastDeliveryQty AS [Last Qty],
           M.Packing, I.IsFloor, I.IsCeiling, I.[Floor], I.[Ceiling], I.IsADSStock, I.ADSStock
    FROM INVENTORY..tbInvent I
    INNER JOIN INVENTORY..tbInvMaster M ON M.ItemID = I.ItemID
    LEFT JOIN INVENTORY..tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID
    WHERE I.ItemID = @ItemID
      AND (ISNULL(@LocationID, '') = '' OR I.LocationID = @LocationID)
    ORDER BY I.LocationID;
END
GO

IF OBJECT_ID('dbo.sp_Inv_KitofItems') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_KitofItems
GO
-- The components of a kit. The first six columns are what the kit dialog shows (code, name,
-- quantity, unit cost, packing, retail flag); the lines grid reads them by name, with Amount.
CREATE PROCEDURE dbo.sp_Inv_KitofItems @KitItemID varchar(20)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT K.ItemID, M.ItemName, K.Qty, M.ListCost AS UnitCost, M.Packing,
           CASE WHEN ISNULL(M.forRetail, 1) = 0 THEN 'N' ELSE 'Y' END AS RetailType,
           ISNULL(K.Qty, 0) * ISNULL(M.ListCost, 0) AS Amount
    FROM INVENTORY..tbInvKit K
    INNER JOIN INVENTORY..tbInvMaster M ON M.ItemID = K.ItemID
    WHERE K.KitItemID = @KitItemID
    ORDER BY M.ItemName, K.ItemID;
END
GO

IF OBJECT_ID('dbo.sp_Inv_KitofItems_PerItem') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_KitofItems_PerItem
GO
-- A quantity of a kit as its components (each component's quantity times the kit quantity);
-- an item that is no kit comes back alone with the quantity asked. Columns as sp_Inv_KitofItems.
CREATE PROCEDURE dbo.sp_Inv_KitofItems_PerItem @ItemID varchar(20), @Qty float = 1
AS
BEGIN
    SET NOCOUNT ON;
    IF EXISTS (SELECT KitItemID FROM INVENTORY..tbInvKit WHERE KitItemID = @ItemID)
    BEGIN
        SELECT K.ItemID, M.ItemName, ISNULL(K.Qty, 0) * @Qty AS Qty, M.ListCost AS UnitCost,
               M.Packing,
               CASE WHEN ISNULL(M.forRetail, 1) = 0 THEN 'N' ELSE 'Y' END AS RetailType,
               ISNULL(K.Qty, 0) * @Qty * ISNULL(M.ListCost, 0) AS Amount
        FROM INVENTORY..tbInvKit K
        INNER JOIN INVENTORY..tbInvMaster M ON M.ItemID = K.ItemID
        WHERE K.KitItemID = @ItemID
        ORDER BY M.ItemName, K.ItemID;
    END
    ELSE
    BEGIN
        SELECT M.ItemID, M.ItemName, @Qty AS Qty, M.ListCost AS UnitCost, M.Packing,
               CASE WHEN ISNULL(M.forRetail, 1) = 0 THEN 'N' ELSE 'Y' END AS RetailType,
               @Qty * ISNULL(M.ListCost, 0) AS Amount
        FROM INVENTORY..tbInvMaster M
        WHERE M.ItemID = @ItemID;
    END
END
GO

IF OBJECT_ID('dbo.sp_InvReq_LoadRequestList') IS NOT NULL DROP PROCEDURE dbo.sp_InvReq_LoadRequestList
GO
-- The annual plan items a requesting location may draw from a supplying location: active items
-- with a plan balance left at the requesting location that the supplying location carries.
-- The inventory list ('False') holds those the supplier has in stock; the consolidation list
-- ('True') holds them whether in stock or not. Qty is the plan balance, On Hand the supplier's
-- stock. Nine columns, bound in this order after the tick column.
CREATE PROCEDURE dbo.sp_InvReq_LoadRequestList
    @SupplyingLocationID varchar(10),
    @RequestingLocationID varchar(10),
    @Search varchar(100) = '%',
    @CategoryID varchar(10) = '%',
    @ListType varchar(5) = 'False'
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @Pattern varchar(102);
    SET @Pattern = ISNULL(@Search, '');
    IF @Pattern = '' SET @Pattern = '%';
    SELECT M.ItemID AS Code,
           RTRIM(ISNULL(M.ItemName, '') + ' ' + ISNULL(M.ItemDesc, '')) AS [Product Name],
           U.UnitOfMeasure AS UOM,
           P.SupplierName AS Supplier,
           C.ItemClassificationName AS Classification,
           M.ListCost AS Listcost,
           R.PPMP AS Qty,
           ISNULL(S.OnHand, 0) AS [On Hand],
           CASE WHEN ISNULL(M.forRetail, 1) = 0 THEN 'N' ELSE 'Y' END AS Retail
    FROM INVENTORY..tbInvent R
    INNER JOIN INVENTORY..tbInvent S ON S.ItemID = R.ItemID AND S.LocationID = @SupplyingLocationID
    INNER JOIN INVENTORY..tbInvMaster M ON M.ItemID = R.ItemID
    LEFT JOIN INVENTORY..tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID
    LEFT JOIN INVENTORY..tbInvSupplier P ON P.SupplierID = M.SupplierID
    LEFT JOIN INVENTORY..tbInvClassification C ON C.ItemClassificationID = M.ItemClassificationID
    WHERE R.LocationID = @RequestingLocationID
      AND ISNULL(R.PPMP, 0) > 0
      AND ISNULL(R.ItemStatus, 0) = 0
      AND ISNULL(S.ItemStatus, 0) = 0
      AND ISNULL(M.ItemStatus, 0) = 0
      AND ISNULL(C.IsFixedAsset, 0) <> 1
      AND (M.ItemID LIKE @Pattern OR M.ItemName LIKE @Pattern)
      AND ISNULL(M.ItemCategory, '') LIKE ISNULL(@CategoryID, '%')
      AND (@ListType = 'True' OR ISNULL(S.OnHand, 0) > 0)
    ORDER BY M.ItemName, M.ItemDesc;
END
GO

-- ---------------------------------------------------------------------------------------------
-- Posting an acknowledged issue document
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_Inv_Insert_Withdrawal_WD') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_Insert_Withdrawal_WD
GO
-- Takes the issue document's lines out of stock at the issuing location, one ledger row each.
-- A missing stock row is created first, so the withdrawal is never lost. The pieces flag is
-- '0' when the tagged items were already converted; the stock moves the same either way.
CREATE PROCEDURE dbo.sp_Inv_Insert_Withdrawal_WD
    @LocationID varchar(10),
    @TargetLocationID varchar(10),
    @TransDate datetime,
    @TransNum varchar(30),
    @ReleasedBy varchar(20),
    @RecordNumber int,
    @PiecesFlag varchar(5) = ''
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, PPMP, ItemStatus)
    SELECT DISTINCT D.ItemID, @LocationID, 0, 0, 0, 0, 0
    FROM INVENTORY..tbInvWithdrawDetails D
    WHERE D.RecordNumber = @RecordNumber
      AND NOT EXISTS (SELECT I.ItemID FROM INVENTORY..tbInvent I
                      WHERE I.ItemID = D.ItemID AND I.LocationID = @LocationID);

    UPDATE I
    SET OnHand = ISNULL(I.OnHand, 0) - Q.Quantity
    FROM INVENTORY..tbInvent I
    INNER JOIN (SELECT ItemID, SUM(ISNULL(Quantity, 0)) AS Quantity
                FROM INVENTORY..tbInvWithdrawDetails
                WHERE RecordNumber = @RecordNumber
                GROUP BY ItemID) Q ON Q.ItemID = I.ItemID
    WHERE I.LocationID = @LocationID;

    INSERT INTO INVENTORY..tbInvStockLedger
        (ItemID, LocationID, TransDate, DocumentNo, RecordNumber, MovementType, Quantity, UnitCost, UserID)
    SELECT D.ItemID, @LocationID, @TransDate, @TransNum, @RecordNumber, 'WD',
           0 - ISNULL(D.Quantity, 0), D.UnitCost, @ReleasedBy
    FROM INVENTORY..tbInvWithdrawDetails D
    WHERE D.RecordNumber = @RecordNumber;
END
GO

IF OBJECT_ID('dbo.sp_Inv_Insert_Withdrawal_RT') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_Insert_Withdrawal_RT
GO
-- Receives the issue document's lines into stock at the receiving location, creating the stock
-- row of an item the location never carried, and notes the last delivery; one ledger row each.
CREATE PROCEDURE dbo.sp_Inv_Insert_Withdrawal_RT
    @TransDate datetime,
    @TargetLocationID varchar(10),
    @LocationID varchar(10),
    @UserID varchar(20),
    @TransNum varchar(30),
    @RecordNumber int,
    @PiecesFlag varchar(5) = ''
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, PPMP, ItemStatus)
    SELECT DISTINCT D.ItemID, @TargetLocationID, 0, 0, 0, 0, 0
    FROM INVENTORY..tbInvWithdrawDetails D
    WHERE D.RecordNumber = @RecordNumber
      AND NOT EXISTS (SELECT I.ItemID FROM INVENTORY..tbInvent I
                      WHERE I.ItemID = D.ItemID AND I.LocationID = @TargetLocationID);

    UPDATE I
    SET OnHand = ISNULL(I.OnHand, 0) + Q.Quantity,
        LastDeliveryDate = @TransDate,
        LastDeliveryQty = Q.Quantity
    FROM INVENTORY..tbInvent I
    INNER JOIN (SELECT ItemID, SUM(ISNULL(Quantity, 0)) AS Quantity
                FROM INVENTORY..tbInvWithdrawDetails
                WHERE RecordNumber = @RecordNumber
                GROUP BY ItemID) Q ON Q.ItemID = I.ItemID
    WHERE I.LocationID = @TargetLocationID;

    INSERT INTO INVENTORY..tbInvStockLedger
        (ItemID, LocationID, TransDate, DocumentNo, RecordNumber, MovementType, Quantity, UnitCost, UserID)
    SELECT D.ItemID, @TargetLocationID, @TransDate, @TransNum, @RecordNumber, 'RT',
           ISNULL(D.Quantity, 0), D.UnitCost, @UserID
    FROM INVENTORY..tbInvWithdrawDetails D
    WHERE D.RecordNumber = @RecordNumber;
END
GO

IF OBJECT_ID('dbo.sp_Inv_GetWDTransDetails') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_GetWDTransDetails
GO
-- The unposted item conversions of an issue document, with the costs of both items at the
-- receiving location.
CREATE PROCEDURE dbo.sp_Inv_GetWDTransDetails @RecordNumber int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT T.SourceItem, T.ReceivingItem, H.LocationID AS SourceLocation,
           T.RecordNumber AS DocumentNo, H.TransDate AS Transdate,
           ISNULL(T.QtyTransferred, 0) AS QtyTransferred, ISNULL(T.QtyReceived, 0) AS QtyReceived,
           ISNULL(ISNULL(SI.AverageCost, SM.AverageCost), 0) AS AveCostSource,
           ISNULL(SM.ListCost, 0) AS ListCostSource,
           ISNULL(RM.ListCost, 0) AS ListCostRec,
           ISNULL(ISNULL(RI.AverageCost, RM.AverageCost), 0) AS AveCostRec,
           ISNULL(T.UserID, H.ReleasedBy) AS UserID,
           H.TargetLocationID AS TargetLocation
    FROM INVENTORY..tbinvWDItemTransfer T
    INNER JOIN INVENTORY..tbInvWithdrawHeader H ON H.RecordNumber = @RecordNumber
    LEFT JOIN INVENTORY..tbInvMaster SM ON SM.ItemID = T.SourceItem
    LEFT JOIN INVENTORY..tbInvMaster RM ON RM.ItemID = T.ReceivingItem
    LEFT JOIN INVENTORY..tbInvent SI ON SI.ItemID = T.SourceItem AND SI.LocationID = H.TargetLocationID
    LEFT JOIN INVENTORY..tbInvent RI ON RI.ItemID = T.ReceivingItem AND RI.LocationID = H.TargetLocationID
    WHERE LTRIM(RTRIM(T.RecordNumber)) = CAST(@RecordNumber AS varchar(20))
      AND ISNULL(T.Status, '') <> 'P'
    ORDER BY T.TransferID;
END
GO

IF OBJECT_ID('dbo.sp_Inv_GetWDKitTransDetails') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_GetWDKitTransDetails
GO
-- The unposted kit conversions of an issue document, as sp_Inv_GetWDTransDetails.
CREATE PROCEDURE dbo.sp_Inv_GetWDKitTransDetails @RecordNumber int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT T.SourceItem, T.ReceivingItem, H.LocationID AS SourceLocation,
           T.RecordNumber AS DocumentNo, H.TransDate AS Transdate,
           ISNULL(T.QtyTransferred, 0) AS QtyTransferred, ISNULL(T.QtyReceived, 0) AS QtyReceived,
           ISNULL(ISNULL(SI.AverageCost, SM.AverageCost), 0) AS AveCostSource,
           ISNULL(SM.ListCost, 0) AS ListCostSource,
           ISNULL(RM.ListCost, 0) AS ListCostRec,
           ISNULL(ISNULL(RI.AverageCost, RM.AverageCost), 0) AS AveCostRec,
           ISNULL(T.UserID, H.ReleasedBy) AS UserID,
           H.TargetLocationID AS TargetLocation
    FROM INVENTORY..tbInvWDKitItemTransfer T
    INNER JOIN INVENTORY..tbInvWithdrawHeader H ON H.RecordNumber = @RecordNumber
    LEFT JOIN INVENTORY..tbInvMaster SM ON SM.ItemID = T.SourceItem
    LEFT JOIN INVENTORY..tbInvMaster RM ON RM.ItemID = T.ReceivingItem
    LEFT JOIN INVENTORY..tbInvent SI ON SI.ItemID = T.SourceItem AND SI.LocationID = H.TargetLocationID
    LEFT JOIN INVENTORY..tbInvent RI ON RI.ItemID = T.ReceivingItem AND RI.LocationID = H.TargetLocationID
    WHERE LTRIM(RTRIM(T.RecordNumber)) = CAST(@RecordNumber AS varchar(20))
      AND ISNULL(T.Status, '') <> 'P'
    ORDER BY T.TransferID;
END
GO

IF OBJECT_ID('dbo.sp_Inv_WithdrawalPosting_Auto') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_WithdrawalPosting_Auto
GO
-- Converts a tagged item into pieces at the receiving location: QtyTransferred of the source
-- item goes out ('TO'), QtyReceived of the receiving item comes in ('TI'). The receiving item's
-- stock row is created when the location never carried it.
CREATE PROCEDURE dbo.sp_Inv_WithdrawalPosting_Auto
    @SourceItem varchar(20),
    @ReceivingItem varchar(20),
    @SourceLocation varchar(10),
    @DocumentNo varchar(20),
    @Transdate datetime,
    @QtyTransferred float,
    @QtyReceived float,
    @AveCostSource money,
    @AveCostRec money,
    @ListCostSource money,
    @ListCostRec money,
    @UserID varchar(20),
    @TargetLocation varchar(10)
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @Record int;
    SET @Record = NULL;
    IF ISNUMERIC(@DocumentNo) = 1
        SET @Record = CAST(CAST(@DocumentNo AS float) AS int);

    IF NOT EXISTS (SELECT ItemID FROM INVENTORY..tbInvent
                   WHERE ItemID = @SourceItem AND LocationID = @TargetLocation)
        INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, PPMP, ItemStatus)
        VALUES (@SourceItem, @TargetLocation, 0, 0, 0, 0, 0);
    IF NOT EXISTS (SELECT ItemID FROM INVENTORY..tbInvent
                   WHERE ItemID = @ReceivingItem AND LocationID = @TargetLocation)
        INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, PPMP, ItemStatus, AverageCost)
        VALUES (@ReceivingItem, @TargetLocation, 0, 0, 0, 0, 0, @AveCostRec);

    UPDATE INVENTORY..tbInvent
    SET OnHand = ISNULL(OnHand, 0) - @QtyTransferred
    WHERE ItemID = @SourceItem AND LocationID = @TargetLocation;
    UPDATE INVENTORY..tbInvent
    SET OnHand = ISNULL(OnHand, 0) + @QtyReceived
    WHERE ItemID = @ReceivingItem AND LocationID = @TargetLocation;

    INSERT INTO INVENTORY..tbInvStockLedger
        (ItemID, LocationID, TransDate, DocumentNo, RecordNumber, MovementType, Quantity, UnitCost, UserID)
    VALUES (@SourceItem, @TargetLocation, @Transdate, @DocumentNo, @Record, 'TO',
            0 - @QtyTransferred, @AveCostSource, @UserID);
    INSERT INTO INVENTORY..tbInvStockLedger
        (ItemID, LocationID, TransDate, DocumentNo, RecordNumber, MovementType, Quantity, UnitCost, UserID)
    VALUES (@ReceivingItem, @TargetLocation, @Transdate, @DocumentNo, @Record, 'TI',
            @QtyReceived, @AveCostRec, @UserID);
END
GO

IF OBJECT_ID('dbo.sp_Inv_WithdrawalPosting_Auto_Kit') IS NOT NULL DROP PROCEDURE dbo.sp_Inv_WithdrawalPosting_Auto_Kit
GO
-- Breaks a tagged kit into a component at the receiving location, through
-- sp_Inv_WithdrawalPosting_Auto.
CREATE PROCEDURE dbo.sp_Inv_WithdrawalPosting_Auto_Kit
    @SourceItem varchar(20),
    @ReceivingItem varchar(20),
    @SourceLocation varchar(10),
    @DocumentNo varchar(20),
    @Transdate datetime,
    @QtyTransferred float,
    @QtyReceived float,
    @AveCostSource money,
    @AveCostRec money,
    @ListCostSource money,
    @ListCostRec money,
    @UserID varchar(20),
    @TargetLocation varchar(10)
AS
BEGIN
    SET NOCOUNT ON;
    -- A kit component is posted exactly as a piece is.
    EXEC dbo.sp_Inv_WithdrawalPosting_Auto @SourceItem, @ReceivingItem, @SourceLocation,
        @DocumentNo, @Transdate, @QtyTransferred, @QtyReceived, @AveCostSource, @AveCostRec,
        @ListCostSource, @ListCostRec, @UserID, @TargetLocation;
END
GO

-- ---------------------------------------------------------------------------------------------
-- Scalar functions
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.fn_inv_getExpiredQty') IS NOT NULL DROP FUNCTION dbo.fn_inv_getExpiredQty
GO
-- The quantity of an item's lots at a location whose expiry date has passed.
CREATE FUNCTION dbo.fn_inv_getExpiredQty (@ItemID varchar(20), @LocationID varchar(10))
RETURNS float
AS
BEGIN
    RETURN (SELECT ISNULL(SUM(L.Quantity), 0)
            FROM INVENTORY..tbInvItemLot L
            WHERE L.ItemID = @ItemID
              AND L.LocationID = @LocationID
              AND L.ExpiryDate < GETDATE())
END
GO

IF OBJECT_ID('dbo.fn_InvReq_GetPPMP') IS NOT NULL DROP FUNCTION dbo.fn_InvReq_GetPPMP
GO
-- A location's remaining plan balance for an item; 0 when the location has no plan for it.
CREATE FUNCTION dbo.fn_InvReq_GetPPMP (@LocationID varchar(10), @ItemID varchar(20))
RETURNS float
AS
BEGIN
    RETURN ISNULL((SELECT TOP 1 I.PPMP
                   FROM INVENTORY..tbInvent I
                   WHERE I.LocationID = @LocationID
                     AND I.ItemID = @ItemID), 0)
END
GO
