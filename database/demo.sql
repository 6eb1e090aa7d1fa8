-- Demo General Hospital: a small hospital to try the program on and to test it against.
--
-- Log-in: employee id DEMO, password demo (a ward user with four locations who may verify).
-- A second person for verifications: VERIFY, password verify.
-- Further employees: NURSE1 / nurse, PHARM1 / pharm, CLERK1 / clerk, 10023 / secret.
-- The OPD password that guards the default-location dialog: OPD2026.
--
-- Passwords are stored encoded as the log-in encodes them (key QUANTELBRIXOM); the encoded text
-- may hold blanks. Dates are written month first, as the program writes them.

SET DATEFORMAT mdy
GO

-- ---------------------------------------------------------------------------------------------
-- Hospital, site switches, numbering counters
-- ---------------------------------------------------------------------------------------------

INSERT INTO INVENTORY..tbHospitalInfo (Company, Address1, Address2, ClientName, AllowWDZeroOnHand, IsWDEntered)
VALUES ('Demo General Hospital', '100 Health Avenue, Demo City', 'Tel. 555-0100', '', 0, 0)
GO

-- The acknowledgement notice is on, so that the issued documents below show it blinking.
INSERT INTO INVENTORY..tbinvSwitch (idkey, KeyValue, Description) VALUES
    ('91', 0, 'Lot numbers and return documents'),
    ('92', 0, 'Lines typed into the request grid'),
    ('93', 1, 'Blocked quantity and acknowledgement notice'),
    ('96', 0, 'Retail option from the item master'),
    ('59', 0, 'Average cost as unit cost')
GO

INSERT INTO INVENTORY..tbPharmaSwitch (idkey, KeyValue, Description) VALUES
    ('3', 0, 'For Retail always No'),
    ('4', 0, 'Supplying location locked'),
    ('5', 0, 'Quantity limited to current stock')
GO

INSERT INTO INVENTORY..tbinvCANumber (RONumber) VALUES (3)
GO
INSERT INTO INVENTORY..tbInvMRISDocnum (SequenceNumber) VALUES (1000)
GO

INSERT INTO patient_data..tbhospitalinfo (HospitalName, OPDPassword)
VALUES ('Demo General Hospital', 'OPD2026')
GO

-- ---------------------------------------------------------------------------------------------
-- Locations, departments, sections
-- ---------------------------------------------------------------------------------------------

-- The supplying locations 21, 119 and 20 (and 94 at sites that use it); wards and a store room
-- request. 119 is both a warehouse and a dispensing area; 45 is closed.
INSERT INTO INVENTORY..tbInvLocation (LocationID, Location, InventoryType, IsWareHouse, isDispensingArea, AllowOrder, Status) VALUES
    ('21', 'Central Warehouse', 'C', 1, 0, 1, NULL),
    ('119', 'Main Pharmacy', 'P', 1, 1, 1, NULL),
    ('20', 'Dispensing Area', 'D', 0, 1, 0, NULL),
    ('94', 'Satellite Pharmacy', 'P', 0, 1, 0, NULL),
    ('18', 'Medical Ward', 'W', 0, 0, 0, NULL),
    ('19', 'Surgical Ward', 'W', 0, 0, 0, NULL),
    ('22', 'Pediatric Ward', 'W', 0, 0, 0, NULL),
    ('23', 'Emergency Room', 'W', 0, 0, 0, NULL),
    ('30', 'Nursing Store Room', 'S', 0, 0, 1, NULL),
    ('45', 'Old Annex Ward', 'W', 0, 0, 0, 'I')
GO

INSERT INTO Build_File..tbcoDepartment (DepartmentID, Department) VALUES
    ('D01', 'Internal Medicine'),
    ('D02', 'Surgery'),
    ('D03', 'Pediatrics'),
    ('D04', 'Emergency Medicine'),
    ('D05', 'Nursing Service')
GO

INSERT INTO Build_File..tbcoSection (SectionID, SectionName, RevenueID) VALUES
    ('S011', 'Medical Ward A', 'D01'),
    ('S012', 'Medical Ward B', 'D01'),
    ('S021', 'Operating Room', 'D02'),
    ('S022', 'Recovery Room', 'D02'),
    ('S031', 'Neonatal Unit', 'D03'),
    ('S041', 'Triage', 'D04'),
    ('S051', 'Central Supply', 'D05')
GO

-- ---------------------------------------------------------------------------------------------
-- Employees, rights, settings
-- ---------------------------------------------------------------------------------------------

INSERT INTO Password..tbPasswordMain (EmployeeID, Password, LastName, FirstName, MiddleName) VALUES
    ('DEMO', '4BFE31DF 1', 'Reyes', 'Ana', 'Lopez'),
    ('VERIFY', '4B90A052F5 8C4', 'Santos', 'Mark', 'Villa'),
    ('NURSE1', '4BE8 B3CE113', 'Garcia', 'Liza', 'Moreno'),
    ('PHARM1', '4BEA 626D610', 'Mendoza', 'Paolo', NULL),
    ('CLERK1', '4BFF39DF1CD3', 'Ramos', 'Jose', 'Cruz'),
    ('10023', '4BEF 022DA14CD', 'Garcia', 'Carlo', NULL)
GO

INSERT INTO INVENTORY..tbinvUserLocation (UserID, LocationID) VALUES
    ('DEMO', '18'),
    ('DEMO', '19'),
    ('DEMO', '23'),
    ('DEMO', '30'),
    ('VERIFY', '18'),
    ('VERIFY', '22'),
    ('NURSE1', '23'),
    ('PHARM1', '119'),
    ('PHARM1', '20'),
    ('CLERK1', '21')
GO

INSERT INTO INVENTORY..tbInvUserSettings (UserID, isVerifyInventoryRequest, isConsolidateIR) VALUES
    ('DEMO', 1, 1),
    ('VERIFY', 1, 0),
    ('NURSE1', 0, NULL)
GO

-- ---------------------------------------------------------------------------------------------
-- Item master data
-- ---------------------------------------------------------------------------------------------

INSERT INTO INVENTORY..tbInvUnitOfMeasure (UnitOfMeasureID, UnitOfMeasure, Status) VALUES
    (1, 'PIECE', 'A'),
    (2, 'BOX', 'A'),
    (3, 'BOTTLE', 'A'),
    (4, 'VIAL', 'A'),
    (5, 'AMPULE', 'A'),
    (6, 'TABLET', 'A'),
    (7, 'CAPSULE', 'A'),
    (8, 'PACK', 'A'),
    (9, 'ROLL', 'A'),
    (10, 'SET', 'A'),
    (11, 'UNIT', 'A'),
    (12, 'REAM', 'A')
GO

INSERT INTO INVENTORY..tbInvTerms (TermsID, Terms, Nodays, Status) VALUES
    (1, 'Cash on delivery', 0, 'A'),
    (2, '30 Days', 30, 'A'),
    (3, '60 Days', 60, 'A')
GO

INSERT INTO INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, SupplierType, Address1, Address2, Address3, FreeGoods, TermsID, TelNum, isVAT, ContactPerson) VALUES
    ('S001', 'Northfield Pharma Supply', 'A', 'DRUG', '12 Harbor Road', 'Demo City', NULL, 0, 2, '555-0111', 1, 'R. Castillo'),
    ('S002', 'Riverside Medical Trading', 'A', 'MED', '8 Mill Street', 'Demo City', NULL, 1, 3, '555-0122', 1, 'L. Navarro'),
    ('S003', 'Eastgate Surgical Supply', 'A', 'MED', '40 Gate Avenue', 'East Town', NULL, 0, NULL, '555-0133', 0, NULL),
    ('S004', 'Bayview Stationers', 'A', 'GEN', '3 Bay Lane', 'Demo City', NULL, 0, 1, '555-0144', 1, 'T. Aquino')
GO

INSERT INTO INVENTORY..tbInvClassification (ItemClassificationID, ItemClassificationName, IsFixedAsset, Status) VALUES
    ('MED', 'Medicines', 0, 'A'),
    ('SUP', 'Medical Supplies', 0, 'A'),
    ('LAB', 'Laboratory Supplies', NULL, 'A'),
    ('OFF', 'Office Supplies', 0, NULL),
    ('HSK', 'Housekeeping Supplies', 0, 'A'),
    ('EQP', 'Medical Equipment', 1, 'A')
GO

INSERT INTO INVENTORY..tbInvCategory (CategoryID, Category, Active) VALUES
    ('C01', 'Drugs and Medicines', 1),
    ('C02', 'Medical and Surgical Supplies', 1),
    ('C03', 'Office Supplies', 1),
    ('C04', 'Housekeeping', 1),
    ('C05', 'Discontinued Lines', 0),
    ('', 'Uncategorised', 1)
GO

INSERT INTO INVENTORY..tbforClassification (Node_Key, ClassificationName) VALUES
    ('12', 'Analgesics and Antipyretics'),
    ('14', 'Anti-infectives'),
    ('3', 'Vitamins and Minerals'),
    ('7', 'Cardiovascular Drugs')
GO

INSERT INTO INVENTORY..tbforGeneric (GenericID, GenericName, Node_Key) VALUES
    ('G001', 'Paracetamol', '12.3'),
    ('G002', 'Amoxicillin', '14.1'),
    ('G003', 'Ascorbic Acid', '3'),
    ('G004', 'Amlodipine', '7.2'),
    ('G005', 'Ceftriaxone', '14.5')
GO

-- About forty items. 1038 is inactive, 1039 is a fixed asset, 1037 is a kit, P1024 is the
-- piece item that a box of 1024 is converted into.
INSERT INTO INVENTORY..tbInvMaster (ItemID, ItemName, ItemDesc, BarCode, SupplierID, ManufacturerID, GenericID, ItemClassificationID, ItemCategory, UnitOfMeasureID, MarkupIn, MarkupOut, ListCost, AverageCost, ItemStatus, Packing, VAT, OralInject, MedicareType, MedicareCategory, GLCode, isRetail, forRetail, WithLotNumber, IsSeniorDiscounted) VALUES
    ('1001', 'PARACETAMOL', '500MG TABLET', '4800001000011', 'S001', 'S002', 'G001', 'MED', 'C01', 6, 20, 30, 2.5000, 2.3500, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 1, 1),
    ('1002', 'AMOXICILLIN', '500MG CAPSULE', '4800001000028', 'S001', NULL, 'G002', 'MED', 'C01', 7, 20, 30, 6.0000, 5.8000, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 1, 1),
    ('1003', 'ASCORBIC ACID', '500MG TABLET', NULL, 'S001', NULL, 'G003', 'MED', 'C01', 6, 20, 30, 1.7500, 1.6000, 0, 100, 12, 'O', NULL, NULL, '1-04-01', 1, 1, 0, 1),
    ('1004', 'IBUPROFEN', '400MG TABLET', NULL, 'S002', NULL, NULL, 'MED', 'C01', 6, 20, 30, 3.2000, 3.0500, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1005', 'CEFUROXIME', '750MG VIAL', NULL, 'S002', NULL, NULL, 'MED', 'C01', 4, 25, 35, 95.0000, 92.5000, 0, 1, 12, 'I', 'N', 'A', '1-04-01', 1, 1, 1, 0),
    ('1006', 'METFORMIN', '500MG TABLET', NULL, 'S001', NULL, NULL, 'MED', 'C01', 6, 20, 30, 2.1000, 2.0000, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1007', 'AMLODIPINE', '10MG TABLET', NULL, 'S001', NULL, 'G004', 'MED', 'C01', 6, 20, 30, 4.4000, 4.2500, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1008', 'LOSARTAN', '50MG TABLET', NULL, 'S001', NULL, NULL, 'MED', 'C01', 6, 20, 30, 5.5000, 5.3000, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1009', 'OMEPRAZOLE', '20MG CAPSULE', NULL, 'S002', NULL, NULL, 'MED', 'C01', 7, 20, 30, 7.2500, 7.0000, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1010', 'SALBUTAMOL', '2MG/5ML SYRUP 60ML', NULL, 'S002', NULL, NULL, 'MED', 'C01', 3, 20, 30, 48.0000, 46.5000, 0, 1, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 1, 1),
    ('1011', 'SODIUM CHLORIDE 0.9%', '1 LITER', NULL, 'S002', NULL, NULL, 'MED', 'C01', 3, 15, 25, 38.0000, 36.0000, 0, 12, 12, 'I', 'N', 'A', '1-04-02', 0, 0, 1, 0),
    ('1012', 'DEXTROSE 5% IN WATER', '1 LITER', NULL, 'S002', NULL, NULL, 'MED', 'C01', 3, 15, 25, 42.0000, 40.0000, 0, 12, 12, 'I', 'N', 'A', '1-04-02', 0, 0, 1, 0),
    ('1013', 'LIDOCAINE 2%', '5ML VIAL', NULL, 'S002', NULL, NULL, 'MED', 'C01', 4, 20, 30, 22.0000, 21.0000, 0, 10, 12, 'I', 'N', 'A', '1-04-01', 0, 0, 1, 0),
    ('1014', 'CEFTRIAXONE', '1G VIAL', '4800001000141', 'S001', NULL, 'G005', 'MED', 'C01', 4, 25, 35, 45.0000, 43.7500, 0, 1, 12, 'I', 'N', 'A', '1-04-01', 1, 1, 1, 0),
    ('1015', 'METRONIDAZOLE', '500MG TABLET', NULL, 'S001', NULL, NULL, 'MED', 'C01', 6, 20, 30, 3.9000, 3.7500, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1016', 'PARACETAMOL', '250MG/5ML SUSPENSION 60ML', NULL, 'S001', NULL, 'G001', 'MED', 'C01', 3, 20, 30, 35.0000, 33.0000, 0, 1, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 1, 1),
    ('1017', 'INSULIN REGULAR', '100IU/ML 10ML VIAL', NULL, 'S002', NULL, NULL, 'MED', 'C01', 4, 20, 30, 520.0000, 505.0000, 0, 1, 12, 'I', 'N', 'A', '1-04-01', 1, 1, 1, 0),
    ('1018', 'FERROUS SULFATE', '325MG TABLET', NULL, 'S001', NULL, NULL, 'MED', 'C01', 6, 20, 30, 1.2000, 1.1000, 0, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1019', 'SYRINGE', '3ML DISPOSABLE WITH NEEDLE G23', '4800001000196', 'S003', NULL, NULL, 'SUP', 'C02', 1, 15, 25, 4.5000, 4.3000, 0, 100, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1020', 'SYRINGE', '5ML DISPOSABLE WITH NEEDLE G23', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 1, 15, 25, 5.2500, 5.0000, 0, 100, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1021', 'IV CANNULA', 'G22 WITH INJECTION PORT', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 1, 15, 25, 35.0000, 33.5000, 0, 50, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 1, 0),
    ('1022', 'IV ADMINISTRATION SET', 'ADULT MACRODRIP', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 10, 15, 25, 28.0000, 27.0000, 0, 50, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 1, 0),
    ('1023', 'SURGICAL GLOVES', 'STERILE SIZE 7', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 2, 15, 25, 650.0000, 630.0000, 0, 50, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 1, 0),
    ('1024', 'EXAMINATION GLOVES', 'MEDIUM 100S', '4800001000240', 'S003', NULL, NULL, 'SUP', 'C02', 2, 15, 25, 180.0000, 175.0000, 0, 100, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('P1024', 'EXAMINATION GLOVES', 'MEDIUM (PIECE)', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 1, 15, 25, 1.8000, 1.7500, 0, 1, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1025', 'GAUZE PAD', '4X4 STERILE 10S', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 8, 15, 25, 12.0000, 11.5000, 0, 10, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1026', 'COTTON BALLS', '100S', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 8, 15, 25, 25.0000, 24.0000, 0, 1, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1027', 'ADHESIVE TAPE', 'MICROPORE 1 INCH', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 9, 15, 25, 18.0000, 17.2500, 0, 12, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1028', 'FACE MASK', 'SURGICAL 3-PLY 50S', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 2, 15, 25, 150.0000, 145.0000, 0, 50, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1029', 'ISOPROPYL ALCOHOL 70%', '500ML', NULL, 'S002', NULL, NULL, 'SUP', 'C02', 3, 15, 25, 65.0000, 62.0000, 0, 24, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 1, 0),
    ('1030', 'URINE COLLECTION CUP', 'STERILE 60ML', NULL, 'S003', NULL, NULL, 'LAB', 'C02', 1, 15, 25, 8.0000, 7.5000, 0, 100, 12, NULL, NULL, NULL, '1-04-04', 0, 0, 0, 0),
    ('1031', 'BLOOD COLLECTION TUBE', 'EDTA 3ML', NULL, 'S003', NULL, NULL, 'LAB', 'C02', 1, 15, 25, 9.5000, 9.0000, 0, 100, 12, NULL, NULL, NULL, '1-04-04', 0, 0, 1, 0),
    ('1032', 'BOND PAPER', 'A4 70GSM', NULL, 'S004', NULL, NULL, 'OFF', 'C03', 12, 0, 0, 210.0000, 205.0000, 0, 1, 12, NULL, NULL, NULL, '1-05-01', 0, 0, 0, 0),
    ('1033', 'BALLPOINT PEN', 'BLACK 12S', NULL, 'S004', NULL, NULL, 'OFF', 'C03', 2, 0, 0, 84.0000, 80.0000, 0, 12, 12, NULL, NULL, NULL, '1-05-01', 0, 0, 0, 0),
    ('1034', 'LOGBOOK', '200 PAGES', NULL, 'S004', NULL, NULL, 'OFF', 'C03', 1, 0, 0, 55.0000, 52.0000, 0, 1, 12, NULL, NULL, NULL, '1-05-01', 0, 0, 0, 0),
    ('1035', 'DISINFECTANT SOLUTION', '1 GALLON', NULL, 'S002', NULL, NULL, 'HSK', 'C04', 3, 0, 0, 320.0000, 310.0000, 0, 4, 12, NULL, NULL, NULL, '1-05-02', 0, 0, 1, 0),
    ('1036', 'TRASH BAG', 'LARGE BLACK 10S', NULL, 'S004', NULL, NULL, 'HSK', 'C04', 8, 0, 0, 45.0000, 43.0000, 0, 1, 12, NULL, NULL, NULL, '1-05-02', 0, 0, 0, 0),
    ('1037', 'SUTURE KIT', 'BASIC WOUND CLOSURE', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 10, 15, 25, 95.0000, 92.0000, 0, 1, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 0, 0),
    ('1038', 'CHLORAMPHENICOL', '500MG CAPSULE (DISCONTINUED)', NULL, 'S001', NULL, NULL, 'MED', 'C05', 7, 20, 30, 6.5000, 6.2000, 1, 100, 12, 'O', 'N', 'A', '1-04-01', 1, 1, 0, 1),
    ('1039', 'INFUSION PUMP', 'VOLUMETRIC SINGLE CHANNEL', NULL, 'S003', NULL, NULL, 'EQP', 'C02', 11, 0, 0, 85000.0000, 85000.0000, 0, 1, 12, NULL, NULL, NULL, '1-06-01', 0, 0, 0, 0),
    ('1040', 'NYLON SUTURE', '3-0 CUTTING NEEDLE', NULL, 'S003', NULL, NULL, 'SUP', 'C02', 1, 15, 25, 38.0000, 36.5000, 0, 12, 12, NULL, NULL, NULL, '1-04-03', 0, 0, 1, 0)
GO

INSERT INTO INVENTORY..tbInvKit (KitItemID, ItemID, Qty) VALUES
    ('1037', '1025', 2),
    ('1037', '1027', 1),
    ('1037', '1040', 1)
GO

-- ---------------------------------------------------------------------------------------------
-- Stock at each location, with the wards' plan (PPMP) balances
-- ---------------------------------------------------------------------------------------------

-- The central warehouse carries every item.
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, NetAmount, SellingPriceIn, SellingPriceOut, AverageCost, MinStockLevel, AveConsumption, LastInventoryCount, NewGLCode, POMonthsToDeliver, MinimumOrAverage, StartDate, EndDate, IsFloor, IsCeiling, [Floor], [Ceiling], IsADSStock, ADSStock)
SELECT M.ItemID, '21', 500, 0, 0, 0, 0, 0, M.MarkupIn, M.MarkupOut, 500 * M.AverageCost,
       M.ListCost * 1.2, M.ListCost * 1.3, M.AverageCost, 50, 40,
       '01/15/2026 08:00:00 AM', M.GLCode, 2, 0, '01/01/2026', '12/31/2026', 1, 1, 50, 800, 0, 0
FROM INVENTORY..tbInvMaster M
GO

-- The pharmacies and the dispensing area carry the medicines.
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, NetAmount, SellingPriceIn, SellingPriceOut, AverageCost, MinStockLevel, AveConsumption, IsFloor, IsCeiling, [Floor], [Ceiling], IsADSStock, ADSStock)
SELECT M.ItemID, '119', 1000, 0, 0, 0, 0, 0, M.MarkupIn, M.MarkupOut, 1000 * M.AverageCost,
       M.ListCost * 1.2, M.ListCost * 1.3, M.AverageCost, 100, 80, 0, 0, 0, 0, 0, 0
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID = 'MED'
GO

INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, NetAmount, SellingPriceIn, SellingPriceOut, AverageCost, MinStockLevel, AveConsumption, IsFloor, IsCeiling, [Floor], [Ceiling], IsADSStock, ADSStock)
SELECT M.ItemID, '20', 200, 0, 0, 0, 0, 0, M.MarkupIn, M.MarkupOut, 200 * M.AverageCost,
       M.ListCost * 1.2, M.ListCost * 1.3, M.AverageCost, 20, 15, 0, 0, 0, 0, 0, 0
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID = 'MED' AND M.ItemID <= '1010'
GO

INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '94', 100, 0, 0, 0, 0, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 10
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID = 'MED' AND M.ItemID <= '1005'
GO

-- The wards and the store room carry medicines and supplies in small amounts, each with what
-- is left of its annual plan.
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '18', 20, 0, 0, 0, 240, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 10
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID IN ('MED', 'SUP', 'LAB', 'OFF', 'HSK') AND ISNULL(M.ItemStatus, 0) = 0
GO
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '19', 15, 0, 0, 0, 180, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 10
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID IN ('MED', 'SUP') AND ISNULL(M.ItemStatus, 0) = 0
GO
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '22', 12, 0, 0, 0, 120, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 10
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID IN ('MED', 'SUP') AND ISNULL(M.ItemStatus, 0) = 0
GO
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '23', 30, 0, 0, 0, 300, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 20
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID IN ('MED', 'SUP', 'LAB') AND ISNULL(M.ItemStatus, 0) = 0
GO
INSERT INTO INVENTORY..tbInvent (ItemID, LocationID, OnHand, DamagedQty, ReservedQty, OnOrder, PPMP, ItemStatus, Markup_In, Markup_Out, AverageCost, MinStockLevel)
SELECT M.ItemID, '30', 40, 0, 0, 0, 400, 0, M.MarkupIn, M.MarkupOut, M.AverageCost, 20
FROM INVENTORY..tbInvMaster M
WHERE M.ItemClassificationID IN ('SUP', 'LAB', 'OFF', 'HSK') AND ISNULL(M.ItemStatus, 0) = 0
GO

-- Figures that make single cases visible: stock out and short stock at the warehouse, damaged
-- and reserved paracetamol, an automatic-delivery item, a used-up plan line, an item the
-- medical ward no longer uses, the piece item only where gloves are opened.
UPDATE INVENTORY..tbInvent SET OnHand = 0 WHERE ItemID = '1008' AND LocationID = '21'
GO
UPDATE INVENTORY..tbInvent SET OnHand = 8 WHERE ItemID = '1017' AND LocationID = '21'
GO
UPDATE INVENTORY..tbInvent SET DamagedQty = 5, ReservedQty = 10 WHERE ItemID = '1001' AND LocationID = '21'
GO
UPDATE INVENTORY..tbInvent SET IsADSStock = 1, ADSStock = 50 WHERE ItemID = '1011' AND LocationID = '21'
GO
UPDATE INVENTORY..tbInvent SET PPMP = 0 WHERE ItemID = '1004' AND LocationID = '18'
GO
UPDATE INVENTORY..tbInvent SET ItemStatus = 1 WHERE ItemID = '1034' AND LocationID = '18'
GO
UPDATE INVENTORY..tbInvent SET LastDeliveryDate = '11/03/2026 02:00:00 PM', LastDeliveryQty = 50
WHERE LocationID = '18' AND ItemID IN ('1019', '1024')
GO
DELETE INVENTORY..tbInvent WHERE ItemID = 'P1024' AND LocationID NOT IN ('21', '18')
GO

-- Lots: one paracetamol lot at the warehouse and one ceftriaxone lot at the pharmacy are past
-- their expiry date.
INSERT INTO INVENTORY..tbInvItemLot (ItemID, LocationID, LotNumber, ExpiryDate, Quantity) VALUES
    ('1001', '21', 'PC-2501', '06/30/2026 12:00:00 AM', 12),
    ('1001', '21', 'PC-2611', '06/30/2028 12:00:00 AM', 488),
    ('1014', '119', 'CF-2504', '11/30/2026 12:00:00 AM', 4),
    ('1014', '119', 'CF-2610', '10/31/2027 12:00:00 AM', 996),
    ('1029', '21', 'AL-2611', '11/30/2027 12:00:00 AM', 500)
GO

-- ---------------------------------------------------------------------------------------------
-- Requests in every state
-- ---------------------------------------------------------------------------------------------

-- 1001 pending, unverified: Medical Ward from the warehouse.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) VALUES
    ('1001', '1019', 50, 4.5000, 'N', 0, '21', '18', '12/01/2026 08:30:00 AM', 'DEMO', 'Weekly replenishment of ward supplies'),
    ('1001', '1024', 5, 180.0000, 'N', 0, '21', '18', '12/01/2026 08:30:00 AM', 'DEMO', 'Weekly replenishment of ward supplies'),
    ('1001', '1025', 20, 12.0000, 'N', 0, '21', '18', '12/01/2026 08:30:00 AM', 'DEMO', 'Weekly replenishment of ward supplies')
GO

-- 1002 pending, verified: Surgical Ward from the pharmacy.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, Verifiedby, verifiedDate) VALUES
    ('1002', '1001', 100, 2.5000, 'Y', 0, '119', '19', '12/02/2026 09:00:00 AM', 'DEMO', 'Post-operative medicines', 'VERIFY', '12/02/2026 09:30:00 AM'),
    ('1002', '1002', 60, 6.0000, 'Y', 0, '119', '19', '12/02/2026 09:00:00 AM', 'DEMO', 'Post-operative medicines', 'VERIFY', '12/02/2026 09:30:00 AM')
GO

-- 1003 being processed (issued as MRIS 21-1 below), 1004 approved, 1005 cancelled.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, Verifiedby, verifiedDate, Status, ProcessDate, ProcessBy) VALUES
    ('1003', '1019', 30, 4.5000, 'N', 0, '21', '18', '11/25/2026 10:00:00 AM', 'DEMO', 'Monthly supplies', 'VERIFY', '11/25/2026 10:20:00 AM', 'P', '11/26/2026 08:00:00 AM', 'CLERK1'),
    ('1003', '1021', 10, 35.0000, 'N', 0, '21', '18', '11/25/2026 10:00:00 AM', 'DEMO', 'Monthly supplies', 'VERIFY', '11/25/2026 10:20:00 AM', 'P', '11/26/2026 08:00:00 AM', 'CLERK1'),
    ('1003', '1024', 2, 180.0000, 'N', 0, '21', '18', '11/25/2026 10:00:00 AM', 'DEMO', 'Monthly supplies', 'VERIFY', '11/25/2026 10:20:00 AM', 'P', '11/26/2026 08:00:00 AM', 'CLERK1'),
    ('1003', '1027', 12, 18.0000, 'N', 0, '21', '18', '11/25/2026 10:00:00 AM', 'DEMO', 'Monthly supplies', 'VERIFY', '11/25/2026 10:20:00 AM', 'P', '11/26/2026 08:00:00 AM', 'CLERK1'),
    ('1003', '1037', 1, 95.0000, 'N', 0, '21', '18', '11/25/2026 10:00:00 AM', 'DEMO', 'Monthly supplies', 'VERIFY', '11/25/2026 10:20:00 AM', 'P', '11/26/2026 08:00:00 AM', 'CLERK1'),
    ('1004', '1014', 20, 45.0000, 'Y', 0, '119', '23', '11/20/2026 02:15:00 PM', 'NURSE1', 'Emergency antibiotics', 'VERIFY', '11/20/2026 02:40:00 PM', 'A', '11/21/2026 09:00:00 AM', 'PHARM1'),
    ('1004', '1011', 24, 38.0000, 'N', 1, '119', '23', '11/20/2026 02:15:00 PM', 'NURSE1', 'Emergency antibiotics', 'VERIFY', '11/20/2026 02:40:00 PM', 'A', '11/21/2026 09:00:00 AM', 'PHARM1'),
    ('1005', '1032', 10, 210.0000, 'N', 0, '21', '30', '11/18/2026 03:45:00 PM', 'DEMO', 'Office supplies for the nurses station', 'VERIFY', '11/18/2026 04:00:00 PM', 'C', '11/19/2026 10:00:00 AM', 'CLERK1'),
    ('1005', '1033', 5, 84.0000, 'N', 0, '21', '30', '11/18/2026 03:45:00 PM', 'DEMO', 'Office supplies for the nurses station', 'VERIFY', '11/18/2026 04:00:00 PM', 'C', '11/19/2026 10:00:00 AM', 'CLERK1')
GO

-- 1006 deleted by its requester.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, Status, ProcessDate, ProcessBy) VALUES
    ('1006', '1004', 30, 3.2000, 'Y', 0, '20', '18', '11/28/2026 11:00:00 AM', 'DEMO', 'Pain relief stock', 'D', '11/29/2026 08:15:00 AM', 'DEMO')
GO

-- 1007 a return from the Surgical Ward to the warehouse; 1011 a return from the Pediatric Ward
-- to the store room (listed for DEMO, who works for the store room).
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, isRequest) VALUES
    ('1007', '1020', 15, 5.2500, 'N', 0, '19', '21', '12/03/2026 01:20:00 PM', 'DEMO', 'Excess stock returned', 0),
    ('1011', '1026', 10, 25.0000, 'N', 0, '22', '30', '12/07/2026 04:10:00 PM', 'VERIFY', 'Unused cotton returned', 0)
GO

-- 1008 pending with lot numbers, marked as a request.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, isRequest, lotnumber) VALUES
    ('1008', '1029', 12, 65.0000, 'N', 0, '21', '30', '12/04/2026 10:05:00 AM', 'DEMO', 'Store room housekeeping', 1, 'AL-2611'),
    ('1008', '1035', 4, 320.0000, 'N', 0, '21', '30', '12/04/2026 10:05:00 AM', 'DEMO', 'Store room housekeeping', 1, 'DS-0926')
GO

-- 1009 another user's request for a location DEMO does not work for; 1010 a colleague's request
-- for the Emergency Room; MR-0415 an old request numbered the old way; 1012 verified today.
INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, Verifiedby, verifiedDate) VALUES
    ('1009', '1016', 20, 35.0000, 'Y', 0, '119', '22', '12/05/2026 11:30:00 AM', 'VERIFY', 'Pediatric syrups', NULL, NULL),
    ('1010', '1003', 40, 1.7500, 'Y', 0, '20', '23', '12/06/2026 07:45:00 AM', 'NURSE1', 'Vitamins for admitted patients', NULL, NULL),
    ('1010', '1018', 30, 1.2000, 'Y', 0, '20', '23', '12/06/2026 07:45:00 AM', 'NURSE1', 'Vitamins for admitted patients', NULL, NULL),
    ('MR-0415', '1028', 10, 150.0000, 'N', 0, '21', '19', '10/15/2026 09:00:00 AM', 'DEMO', 'Masks for isolation room', NULL, NULL),
    ('1012', '1022', 10, 28.0000, 'N', 0, '21', '18', '12/08/2026 09:00:00 AM', 'DEMO', 'IV sets for new admissions', 'VERIFY', '12/08/2026 09:10:00 AM')
GO

-- Consolidation requests: 900 on the first day of the window that the listing shows (seven days
-- before the first of the month), 901 a second before it, 902 on the last evening of the year.
INSERT INTO INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) VALUES
    ('900', '1019', 200, 4.5000, 'N', 0, '21', '18', '11/24/2026 12:00:00 AM', 'DEMO', 'Consolidated December needs'),
    ('900', '1028', 10, 150.0000, 'N', 0, '21', '18', '11/24/2026 12:00:00 AM', 'DEMO', 'Consolidated December needs'),
    ('901', '1025', 50, 12.0000, 'N', 0, '21', '19', '11/23/2026 11:59:59 PM', 'DEMO', 'Consolidated November needs'),
    ('902', '1001', 500, 2.5000, 'Y', 0, '119', '23', '12/31/2026 11:59:59 PM', 'DEMO', 'Consolidated January needs')
GO

-- Request orders: pending, processed, deleted.
INSERT INTO INVENTORY..tbinvRequestOrder (Documentnumber, locationid, targetlocationid, itemid, qty, unitcost, totalcost, userid, transdate, Remarks, Verifiedby, verifiedDate, Status, ProcessDate, ProcessBy) VALUES
    ('RO-2026-1', '21', '18', '1008', 200, 5.5000, 1100.0000, 'DEMO', '12/01/2026 08:31:00 AM', 'Weekly replenishment of ward supplies', NULL, NULL, NULL, NULL, NULL),
    ('RO-2026-1', '21', '18', '1017', 10, 520.0000, 5200.0000, 'DEMO', '12/01/2026 08:31:00 AM', 'Weekly replenishment of ward supplies', NULL, NULL, NULL, NULL, NULL),
    ('RO-2026-2', '21', '19', '1023', 2, 650.0000, 1300.0000, 'DEMO', '11/16/2026 01:00:00 PM', 'Operating room gloves', 'VERIFY', '11/16/2026 01:30:00 PM', 'P', '11/17/2026 09:00:00 AM', 'CLERK1'),
    ('RO-2026-3', '21', '23', '1012', 48, 42.0000, 2016.0000, 'NURSE1', '11/10/2026 10:00:00 AM', 'IV fluids', NULL, NULL, 'D', '11/11/2026 08:00:00 AM', 'NURSE1')
GO

-- ---------------------------------------------------------------------------------------------
-- Issue documents: two waiting for DEMO's acknowledgement (one not yet numbered), one already
-- acknowledged, one for another user's location
-- ---------------------------------------------------------------------------------------------

INSERT INTO INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, TargetLocationID, DocumentNumber, Remarks, ReleasedBy, UserID, Status)
VALUES ('21-1', '12/07/2026 02:30:00 PM', '21', '18', '1003', 'Monthly supplies', 'CLERK1', 'CLERK1', 'F')
GO
INSERT INTO INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, TargetLocationID, DocumentNumber, Remarks, ReleasedBy, UserID, Status)
VALUES ('NEW', '12/08/2026 08:10:00 AM', '119', '23', '1004', 'Emergency antibiotics', 'PHARM1', 'PHARM1', 'F')
GO
INSERT INTO INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, TargetLocationID, DocumentNumber, Remarks, ReleasedBy, UserID, Status)
VALUES ('21-3', '11/20/2026 03:00:00 PM', '21', '19', 'MR-0415', 'Masks for isolation room', 'CLERK1', 'CLERK1', 'P')
GO
INSERT INTO INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, TargetLocationID, DocumentNumber, Remarks, ReleasedBy, UserID, Status)
VALUES ('21-4', '12/07/2026 03:15:00 PM', '21', '22', '1009', 'Pediatric supplies', 'CLERK1', 'CLERK1', 'F')
GO

-- Lines, tied to their header by the request they answer.
INSERT INTO INVENTORY..tbInvWithdrawDetails (RecordNumber, ItemID, Quantity, UnitCost)
SELECT H.RecordNumber, R.ItemID, R.Quantity, R.UnitCost
FROM INVENTORY..tbInvWithdrawHeader H
INNER JOIN INVENTORY..tbInvWithdrawRequest R ON R.DocumentNumber = H.DocumentNumber
WHERE H.TransNum IN ('21-1', 'NEW', '21-3')
GO
INSERT INTO INVENTORY..tbInvWithdrawDetails (RecordNumber, ItemID, Quantity, UnitCost)
SELECT H.RecordNumber, '1026', 5, 25.0000
FROM INVENTORY..tbInvWithdrawHeader H
WHERE H.TransNum = '21-4'
GO

-- MRIS 21-1 carries two boxes of examination gloves tagged to be opened into pieces, and a
-- suture kit tagged to be broken into its gauze. The transfer rows hold the record number as
-- text with a leading blank, as older rows do.
INSERT INTO INVENTORY..tbinvWDItemTransfer (RecordNumber, SourceItem, ReceivingItem, QtyTransferred, QtyReceived, UserID, Status)
SELECT ' ' + CAST(H.RecordNumber AS varchar(10)), '1024', 'P1024', 2, 200, 'CLERK1', NULL
FROM INVENTORY..tbInvWithdrawHeader H
WHERE H.TransNum = '21-1'
GO
INSERT INTO INVENTORY..tbInvWDKitItemTransfer (RecordNumber, SourceItem, ReceivingItem, QtyTransferred, QtyReceived, UserID, Status)
SELECT CAST(H.RecordNumber AS varchar(10)), '1037', '1025', 1, 2, 'CLERK1', NULL
FROM INVENTORY..tbInvWithdrawHeader H
WHERE H.TransNum = '21-1'
GO
