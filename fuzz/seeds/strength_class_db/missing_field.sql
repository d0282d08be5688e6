-- No "fv,k" and a near miss "fv, k": the open must name the missing field.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL,
    "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv, k" REAL, "E0,mean" REAL, "Ek" REAL,
    "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" VALUES (1, 'C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310);
