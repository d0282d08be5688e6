-- Classes out of alphabetical order, a duplicate and no "C16"; an index on
-- the class that must not change the order; keys out of order.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL, "Note" TEXT);
CREATE INDEX "ByClass" ON "Sheet1" ("Class");
INSERT INTO "Sheet1" ("ID", "Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk", "Note") VALUES
    (30, 'D30', 30, 18, 0.6, 23, 8.0, 3.0, 10.0, 8.0, 0.64, 0.60, 640, 530, 'hardwood'),
    (10, 'C24', 24, 14, 0.5, 21, 2.5, 2.5, 11.0, 7.4, 0.37, 0.69, 420, 350, x'00ff'),
    (20, 'C14', 14, 8, 0.4, 16, 2.0, 1.7, 7.0, 4.7, 0.23, 0.44, 350, 290, NULL),
    (40, 'C24', 24, 14, 0.5, 21, 2.5, 2.5, 11.0, 7.4, 0.37, 0.69, 420, 350, 'again');
