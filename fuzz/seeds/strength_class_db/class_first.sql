-- "Class" stands at position 0, not 1.
CREATE TABLE "Sheet1" ("Class" TEXT, "ID" INTEGER, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL,
    "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL,
    "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" VALUES ('C16', 1, 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310);
