-- Generated columns: one in the free field at position 0, which is never
-- read, and "rk", which the material data window refuses to read.
CREATE TABLE "Sheet1" ("Key" AS (upper("Class")), "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL,
    "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL,
    "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" AS ("rmean" - 60));
INSERT INTO "Sheet1" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k",
    "E0,mean", "Ek", "E90,mean", "Gmean", "rmean")
    VALUES ('C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370);
