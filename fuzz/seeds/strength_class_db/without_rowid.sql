-- A table without row ids, its fields in another order after the class.
CREATE TABLE "Sheet1" ("Key" TEXT PRIMARY KEY, "Class" TEXT, "rk" REAL, "rmean" REAL,
    "Gmean" REAL, "E90,mean" REAL, "Ek" REAL, "E0,mean" REAL, "fv,k" REAL, "fc,90,k" REAL,
    "fc,0,k" REAL, "ft,90,k" REAL, "ft,0,k" REAL, "fm,k" REAL) WITHOUT ROWID;
INSERT INTO "Sheet1" VALUES
    ('b', 'C16', 310, 370, 0.5, 0.27, 5.4, 8, 1.8, 2.2, 17, 0.5, 10, 16),
    ('a', 'C14', 290, 350, 0.44, 0.23, 4.7, 7, 1.7, 2.0, 16, 0.4, 8, 14);
