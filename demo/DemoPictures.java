import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.GradientPaint;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.geom.Ellipse2D;
import java.awt.geom.Path2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.util.Random;
import javax.imageio.ImageIO;

/**
 * Draws the demo album source: twelve small landscape pictures in three folders, each
 * with a caption band, as JPEG and GIF files. Run at build time; the output folder is
 * the only argument.
 */
public final class DemoPictures {
    private static final int WIDTH = 480;
    private static final int HEIGHT = 320;

    private enum Scene { SEA, HILLS, MOUNTAINS, GARDEN }

    private static final class Scenery {
        final String folder;
        final String file;
        final String caption;
        final Scene scene;
        final Color skyTop;
        final Color skyBottom;
        final Color land;
        final long seed;

        Scenery(String folder, String file, String caption, Scene scene, int skyTop, int skyBottom, int land,
             long seed) {
            this.folder = folder;
            this.file = file;
            this.caption = caption;
            this.scene = scene;
            this.skyTop = new Color(skyTop);
            this.skyBottom = new Color(skyBottom);
            this.land = new Color(land);
            this.seed = seed;
        }
    }

    private static final Scenery[] PICTURES = {
        new Scenery("Seaside Weekend", "harbour-dawn.jpg", "Harbour at dawn", Scene.SEA, 0x2b3a67, 0xf6a46b, 0x1d4e6b, 1),
        new Scenery("Seaside Weekend", "Sailing.jpg", "Sailing past", Scene.SEA, 0x5aa9e6, 0xcdeefd, 0x2a6f97, 2),
        new Scenery("Seaside Weekend", "low-tide.gif", "Low tide", Scene.SEA, 0x7fc8f8, 0xf9f9f9, 0x3d8fb5, 3),
        new Scenery("Seaside Weekend", "sunset pier.jpg", "Sunset on the pier", Scene.SEA, 0x3c1e5c, 0xff7f50, 0x22304a, 4),
        new Scenery("Autumn Garden", "apple tree.jpg", "The apple tree", Scene.GARDEN, 0x8ecae6, 0xe8f6fb, 0x6a994e, 5),
        new Scenery("Autumn Garden", "orchard.gif", "Orchard in the sun", Scene.GARDEN, 0xa2d2ff, 0xfdf0d5, 0x7f9f4a, 6),
        new Scenery("Autumn Garden", "Leaves.jpg", "Falling leaves", Scene.GARDEN, 0xbde0fe, 0xffe5b4, 0xa5673f, 7),
        new Scenery("Autumn Garden", "pond.jpg", "The pond", Scene.HILLS, 0x90e0ef, 0xcaf0f8, 0x52796f, 8),
        new Scenery("Mountain Trail", "first-light.jpg", "First light", Scene.MOUNTAINS, 0x1b263b, 0xf4a261, 0x415a77, 9),
        new Scenery("Mountain Trail", "meadow.gif", "Alpine meadow", Scene.HILLS, 0x4cc9f0, 0xe0fbfc, 0x4f772d, 10),
        new Scenery("Mountain Trail", "Ridge.jpg", "Along the ridge", Scene.MOUNTAINS, 0x48cae4, 0xdff6ff, 0x3a5a40, 11),
        new Scenery("Mountain Trail", "summit.jpg", "At the summit", Scene.MOUNTAINS, 0x023e8a, 0x90e0ef, 0x6c757d, 12),
    };

    public static void main(String[] args) throws IOException {
        if (args.length != 1) {
            System.err.println("usage: DemoPictures OUTPUT_FOLDER");
            System.exit(2);
        }
        File root = new File(args[0]);
        for (Scenery scenery : PICTURES) {
            File folder = new File(root, scenery.folder);
            if (!folder.isDirectory() && !folder.mkdirs()) {
                throw new IOException("cannot create " + folder);
            }
            BufferedImage image = draw(scenery);
            String format = scenery.file.endsWith(".gif") ? "gif" : "jpg";
            File target = new File(folder, scenery.file);
            if (!ImageIO.write(image, format, target)) {
                throw new IOException("no writer for " + format);
            }
        }
    }

    private static BufferedImage draw(Scenery scenery) {
        BufferedImage image = new BufferedImage(WIDTH, HEIGHT, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
        g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
        Random random = new Random(scenery.seed);

        g.setPaint(new GradientPaint(0, 0, scenery.skyTop, 0, HEIGHT * 0.65f, scenery.skyBottom));
        g.fillRect(0, 0, WIDTH, HEIGHT);
        drawSun(g, random, scenery);
        switch (scenery.scene) {
            case SEA: drawSea(g, random, scenery); break;
            case HILLS: drawHills(g, random, scenery); break;
            case MOUNTAINS: drawMountains(g, random, scenery); break;
            case GARDEN: drawGarden(g, random, scenery); break;
            default: break;
        }
        drawCaption(g, scenery.caption);
        g.dispose();
        return image;
    }

    private static void drawSun(Graphics2D g, Random random, Scenery scenery) {
        int size = 40 + random.nextInt(30);
        int x = 40 + random.nextInt(WIDTH - 120);
        int y = 30 + random.nextInt(60);
        g.setColor(new Color(255, 244, 200, 90));
        g.fill(new Ellipse2D.Double(x - 12, y - 12, size + 24, size + 24));
        g.setColor(new Color(255, 236, 160));
        g.fill(new Ellipse2D.Double(x, y, size, size));
    }

    private static void drawSea(Graphics2D g, Random random, Scenery scenery) {
        int horizon = HEIGHT / 2 + 20;
        g.setPaint(new GradientPaint(0, horizon, scenery.land, 0, HEIGHT, scenery.land.darker()));
        g.fillRect(0, horizon, WIDTH, HEIGHT - horizon);
        g.setStroke(new BasicStroke(2f));
        g.setColor(new Color(255, 255, 255, 110));
        for (int i = 0; i < 14; i++) {
            int y = horizon + 10 + random.nextInt(HEIGHT - horizon - 60);
            int x = random.nextInt(WIDTH);
            g.drawArc(x, y, 30 + random.nextInt(30), 8, 0, 180);
        }
        // A small sailing boat.
        int bx = 80 + random.nextInt(WIDTH - 200);
        int by = horizon + 30;
        g.setColor(new Color(90, 50, 30));
        g.fillPolygon(new int[] {bx, bx + 70, bx + 58, bx + 12}, new int[] {by, by, by + 14, by + 14}, 4);
        g.setColor(Color.WHITE);
        g.fillPolygon(new int[] {bx + 36, bx + 36, bx + 66}, new int[] {by - 55, by - 4, by - 4}, 3);
    }

    private static void drawHills(Graphics2D g, Random random, Scenery scenery) {
        for (int layer = 0; layer < 3; layer++) {
            Color color = blend(scenery.land, scenery.skyBottom, 0.45f - layer * 0.2f);
            int base = HEIGHT / 2 + layer * 35;
            Path2D hill = new Path2D.Double();
            hill.moveTo(0, HEIGHT);
            hill.lineTo(0, base);
            for (int x = 0; x <= WIDTH; x += 40) {
                hill.quadTo(x + 20, base - 25 - random.nextInt(30), x + 40, base + random.nextInt(10));
            }
            hill.lineTo(WIDTH, HEIGHT);
            hill.closePath();
            g.setColor(color);
            g.fill(hill);
        }
        g.setColor(new Color(90, 160, 200));
        g.fill(new Ellipse2D.Double(WIDTH / 2.0 - 90, HEIGHT - 110, 180, 40));
    }

    private static void drawMountains(Graphics2D g, Random random, Scenery scenery) {
        for (int layer = 0; layer < 2; layer++) {
            Color color = blend(scenery.land, scenery.skyBottom, 0.35f - layer * 0.3f);
            Path2D range = new Path2D.Double();
            range.moveTo(0, HEIGHT);
            int x = -40;
            while (x < WIDTH + 40) {
                int peak = HEIGHT / 3 + layer * 50 + random.nextInt(50);
                int width = 90 + random.nextInt(80);
                range.lineTo(x + width / 2.0, peak);
                range.lineTo(x + width, HEIGHT * 0.62 + layer * 30);
                x += width;
            }
            range.lineTo(WIDTH, HEIGHT);
            range.closePath();
            g.setColor(color);
            g.fill(range);
        }
        g.setColor(scenery.land.darker());
        g.fillRect(0, HEIGHT - 70, WIDTH, 70);
    }

    private static void drawGarden(Graphics2D g, Random random, Scenery scenery) {
        int ground = HEIGHT * 3 / 5;
        g.setColor(scenery.land);
        g.fillRect(0, ground, WIDTH, HEIGHT - ground);
        for (int i = 0; i < 3; i++) {
            int tx = 60 + i * 150 + random.nextInt(40);
            g.setColor(new Color(110, 75, 45));
            g.fillRect(tx, ground - 70, 14, 80);
            Color leaves = blend(new Color(200, 120, 40), new Color(90, 140, 60), random.nextFloat());
            g.setColor(leaves);
            g.fill(new Ellipse2D.Double(tx - 40, ground - 140, 95, 90));
        }
        for (int i = 0; i < 40; i++) {
            g.setColor(new Color(230, 120 + random.nextInt(100), 40 + random.nextInt(60)));
            int x = random.nextInt(WIDTH);
            int y = ground + 10 + random.nextInt(HEIGHT - ground - 60);
            g.fill(new Ellipse2D.Double(x, y, 7, 5));
        }
    }

    private static void drawCaption(Graphics2D g, String caption) {
        g.setColor(new Color(0, 0, 0, 140));
        g.fillRect(0, HEIGHT - 44, WIDTH, 44);
        g.setFont(new Font(Font.SANS_SERIF, Font.BOLD, 20));
        FontMetrics metrics = g.getFontMetrics();
        g.setColor(Color.WHITE);
        g.drawString(caption, (WIDTH - metrics.stringWidth(caption)) / 2, HEIGHT - 44 + (44 + metrics.getAscent()) / 2 - 4);
    }

    private static Color blend(Color a, Color b, float t) {
        float u = Math.max(0f, Math.min(1f, t));
        return new Color((int) (a.getRed() * (1 - u) + b.getRed() * u),
                         (int) (a.getGreen() * (1 - u) + b.getGreen() * u),
                         (int) (a.getBlue() * (1 - u) + b.getBlue() * u));
    }

    private DemoPictures() {
    }
}
